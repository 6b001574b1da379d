#include "MurvelCommerceUpdates/MakerSite.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <gtest/gtest.h>

using MurvelCommerceUpdates::MakerSite;
using MurvelCommerceUpdatesCore::UpdateSite;

namespace {

TEST(MakerSite, TheEnvironmentPointsTheManifestTheDownloadAndTheSampleElsewhere) {
    TestSupport::XdgSandbox environment; // gives the variable back
    environment.setVariable(UpdateSite::environmentVariable, QByteArray("https://127.0.0.1:8443"));
    EXPECT_EQ(MakerSite::manifestAddress(), QUrl("https://127.0.0.1:8443/downloads/versions.json"));
    EXPECT_EQ(MakerSite::downloadLink("dialcove"),
              QUrl("https://127.0.0.1:8443/downloads/dialcove-latest.tar.gz"));
    EXPECT_EQ(MurvelUI::SampleUpdateNotifier::downloadPage(), QUrl("https://127.0.0.1:8443/downloads/"));

    // A value that breaks the rule is logged once and the built-in site stands.
    environment.setVariable(UpdateSite::environmentVariable, QByteArray("https://evil.example/x?"));
    static QStringList warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtWarningMsg)
                warnings << message;
        });
    const QString builtIn = QString::fromStdString(UpdateSite::builtIn());
    EXPECT_EQ(MakerSite::current(), builtIn);
    EXPECT_EQ(MakerSite::current(), builtIn);
    EXPECT_EQ(MakerSite::manifestAddress(), QUrl(builtIn + "/downloads/versions.json"));
    EXPECT_EQ(MurvelUI::SampleUpdateNotifier::downloadPage(), QUrl(builtIn + "/downloads/"));
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings,
              QStringList{"DIALCOVE_UPDATE_SITE ignored: not https:// and a host with an optional port: "
                          "\"https://evil.example/x?\""});
}

} // namespace
