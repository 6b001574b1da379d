#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/ApplicationIdentity.hpp"
#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"
#include "MurvelCommerceUpdates/UpdateChecker.hpp"
#include "MurvelCommerceUpdatesCore/AppVersion.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/TestHttpsServer.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

using TestSupport::TestHttpsServer;

// The maker's site pointed at a server in this process whose certificate the app's feeds trust, the
// app's identity applied and the XDG folders in a sandbox; all given back afterwards.
class AppUpdateWiring : public ::testing::Test {
protected:
    void SetUp() override {
        server_.setScript(server_.answer(200, {}, R"({"format":1,"apps":{"dialcove":"99.0"}})"));
        sandbox_.setVariable("DIALCOVE_UPDATE_SITE", server_.site().toUtf8());
        MurvelCommerceUpdates::SiteUpdateFeed::setDefaultAuthorityFile(TestHttpsServer::certificateFile());
        Dialcove::applyApplicationIdentity();
    }
    void TearDown() override {
        MurvelCommerceUpdates::SiteUpdateFeed::setDefaultAuthorityFile(savedAuthority_);
        QCoreApplication::setApplicationVersion(savedVersion_);
    }

    std::shared_ptr<Platform::UserDefaults> defaults() const {
        return std::make_shared<Platform::UserDefaults>(sandbox_.path("config/dialcove/dialcove.ini"));
    }

    // A notifier as the app makes one, over the defaults file as a new process would open it.
    std::unique_ptr<MurvelUI::UpdateNotifier> make(const QStringList& arguments = {
                                                       QStringLiteral("dialcove")}) {
        return std::unique_ptr<MurvelUI::UpdateNotifier>(
            Dialcove::makeUpdateNotifier(arguments, defaults(), nullptr));
    }

    TestHttpsServer server_;
    TestSupport::XdgSandbox sandbox_;
    const QString savedAuthority_ = MurvelCommerceUpdates::SiteUpdateFeed::defaultAuthorityFile();
    const QString savedVersion_ = QCoreApplication::applicationVersion();
};

TEST_F(AppUpdateWiring, ChecksTheSiteOnceAndRemembersTheOffer) {
    const MurvelUI::AvailableUpdate expected{
        QStringLiteral("99.0"), QUrl(server_.site() + QStringLiteral("/downloads/dialcove-latest.tar.gz"))};
    auto first = make();
    ASSERT_TRUE(first);
    first->refresh();
    ASSERT_TRUE(
        TestSupport::waitUntil([&] { return first->available().has_value(); }, std::chrono::seconds(20)));
    EXPECT_EQ(first->available(), expected);
    EXPECT_EQ(server_.requests().size(), 1);

    // A new process within 15 days asks nothing and still offers it.
    auto second = make();
    EXPECT_EQ(second->available(), expected);
    second->refresh();
    TestSupport::waitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(server_.requests().size(), 1);

    // "Not now" withdraws it, for later processes too.
    second->setAside();
    EXPECT_EQ(second->available(), std::nullopt);
    auto third = make();
    third->refresh();
    EXPECT_EQ(third->available(), std::nullopt);
    EXPECT_EQ(server_.requests().size(), 1);
}

TEST_F(AppUpdateWiring, SnapshotModeMakesNoneAndAsksNothing) {
    EXPECT_EQ(make({QStringLiteral("dialcove"), QStringLiteral("--snapshot-menu")}), nullptr);
    EXPECT_EQ(make({QStringLiteral("dialcove"), QStringLiteral("--snapshot-dark")}), nullptr);
    // The bare prefix runs the menu scenario, so it is snapshot mode too.
    EXPECT_EQ(make({QStringLiteral("dialcove"), QStringLiteral("--snapshot-")}), nullptr);
    TestSupport::drainEvents();
    EXPECT_EQ(server_.connections(), 0);
}

TEST_F(AppUpdateWiring, TheAppsNotifierIsMadeOnceAtTheBuiltVersion) {
    ASSERT_FALSE(Dialcove::argumentsAskForSnapshot(QCoreApplication::arguments()));
    MurvelUI::UpdateNotifier* notifier = Dialcove::appUpdateNotifier();
    ASSERT_NE(notifier, nullptr);
    EXPECT_EQ(Dialcove::appUpdateNotifier(), notifier);
    EXPECT_EQ(notifier->parent(), QCoreApplication::instance());
    EXPECT_NE(qobject_cast<MurvelCommerceUpdates::UpdateChecker*>(notifier), nullptr);

    const auto version =
        MurvelCommerceUpdatesCore::AppVersion::parsed(QCoreApplication::applicationVersion().toStdString());
    ASSERT_TRUE(version) << QCoreApplication::applicationVersion().toStdString();
    EXPECT_EQ(version->description(), DIALCOVE_VERSION);
}

} // namespace
