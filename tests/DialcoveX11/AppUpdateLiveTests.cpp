#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/ApplicationIdentity.hpp"
#include "Dialcove/Shell/LiveRuntime.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "LiveRuntimeEnding.hpp"
#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"
#include "MurvelUI/Cards/UpdateCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Dialcove/Support/FakeContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeContactPermissionService.hpp"
#include "tests/Dialcove/Support/FakeContactRecentStorage.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/TestHttpsServer.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QCoreApplication>
#include <QDBusConnection>
#include <gtest/gtest.h>

using Dialcove::LiveRuntime;
using TestSupport::TestHttpsServer;
using TestSupport::waitUntil;

namespace {

constexpr auto networkWait = std::chrono::seconds(20);

// The running app over fakes of the contact services, on this test's own Xvfb, in a temporary
// home, with the maker's site pointed at an HTTPS server in this process that publishes 99.0. The
// app's feeds trust the server's certificate in place of the system's trust store, as they would
// a site's authority; both are given back afterwards.
class AppUpdateLive : public testing::Test {
protected:
    AppUpdateLive() {
        xdg.setVariable("HOME", QFile::encodeName(xdg.path("home")));
        xdg.setVariable(Platform::AddressBookSettings::kFolderVariable, std::nullopt);
        server.setScript(server.answer(200, "Content-Type: application/json\r\n",
                                       R"({"format":1,"apps":{"dialcove":"99.0"}})"));
        xdg.setVariable("DIALCOVE_UPDATE_SITE", server.site().toUtf8());
        MurvelCommerceUpdates::SiteUpdateFeed::setDefaultAuthorityFile(TestHttpsServer::certificateFile());
        Dialcove::applyApplicationIdentity();
        // The app's defaults, as the app's runtime holds them: the standard file, here in the sandbox.
        defaults = Platform::UserDefaults::standard();
        defaults->setBool(LiveRuntime::hasSeenWelcomeKey, true);
    }

    ~AppUpdateLive() override {
        endLiveRuntime(runtime, *worker, *output);
        MurvelCommerceUpdates::SiteUpdateFeed::setDefaultAuthorityFile(savedAuthority);
        QCoreApplication::setApplicationVersion(savedVersion);
    }

    void start() {
        runtime = std::make_unique<LiveRuntime>(
            defaults,
            LiveRuntime::Services{
                PanelGraph::inMemorySettings(), worker,
                std::make_shared<FakeContactPermissionService>(Dialcove::ContactPermission::allowed), output,
                recents},
            LiveRuntime::Windows{}, LiveRuntime::Options{QDBusConnection(QStringLiteral("no bus")), QDBusConnection(QStringLiteral("no bus"))});
        runtime->start();
        PanelGraph::settle(runtime->startupTask());
    }

    // Opens the panel window through the runtime, as the hot key does, and lists nothing.
    void openPanel() {
        const std::size_t loads = worker->loads.size();
        const std::size_t searches = worker->searches.size();
        runtime->togglePanel(false);
        PanelGraph::awaitCall(worker->loads, loads + 1).answer.answer();
        PanelGraph::awaitCall(worker->searches, searches + 1)
            .answer.answer(std::vector<DialcoveCore::Contact>{});
        PanelGraph::settle(runtime->panel().loadTask());
        ASSERT_TRUE(waitUntil([&] { return runtime->searchPanel() && runtime->searchPanel()->isVisible(); }));
    }

    // Clicks the middle of `button` through the X server, as the user would.
    static bool click(QWidget* button) { return clickAt(button->mapToGlobal(button->rect().center())); }

    MurvelUI::UpdateCard* card() const {
        return runtime->searchPanel() ? runtime->searchPanel()->view()->chrome()->updateCard() : nullptr;
    }

    // A checker as a later process of the app makes one, over the same defaults file.
    std::unique_ptr<MurvelUI::UpdateNotifier> laterChecker(const QStringList& arguments = {
                                                               QStringLiteral("dialcove")}) const {
        return std::unique_ptr<MurvelUI::UpdateNotifier>(Dialcove::makeUpdateNotifier(
            arguments, std::make_shared<Platform::UserDefaults>(defaults->path()), nullptr));
    }

    // Lets anything that a refresh may have started reach the server.
    static void letTheNetworkRun() {
        waitUntil([] { return false; }, std::chrono::milliseconds(300));
    }

    TestSupport::XdgSandbox xdg;
    TestHttpsServer server;
    const QString savedAuthority = MurvelCommerceUpdates::SiteUpdateFeed::defaultAuthorityFile();
    const QString savedVersion = QCoreApplication::applicationVersion();
    std::shared_ptr<Platform::UserDefaults> defaults;
    std::shared_ptr<FakeContactSessionService> worker = std::make_shared<FakeContactSessionService>();
    std::shared_ptr<FakeContactOutputService> output = std::make_shared<FakeContactOutputService>();
    std::shared_ptr<FakeContactRecentStorage> recents = std::make_shared<FakeContactRecentStorage>();
    std::unique_ptr<LiveRuntime> runtime;
};

// The whole road of an offer in the running app: the check at start, the card in the panel, its
// Download and Not now, and what later processes see of both.
TEST_F(AppUpdateLive, StartChecksOnceAndThePanelOffersTheDownloadUntilSetAside) {
    ASSERT_TRUE(server.site().startsWith(QStringLiteral("https://127.0.0.1:"))) << "no test looks up a name";
    const MurvelUI::AvailableUpdate expected{
        QStringLiteral("99.0"), QUrl(server.site() + QStringLiteral("/downloads/dialcove-latest.tar.gz"))};
    MurvelUI::UpdateNotifier* notifier = Dialcove::appUpdateNotifier();
    ASSERT_NE(notifier, nullptr);
    EXPECT_EQ(notifier->available(), std::nullopt);
    EXPECT_EQ(server.connections(), 0) << "nothing is asked before the app starts";

    start();
    ASSERT_TRUE(waitUntil([&] { return notifier->available().has_value(); }, networkWait));
    EXPECT_EQ(notifier->available(), expected);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests().front().startsWith("GET /downloads/versions.json HTTP/1.1\r\n"))
        << server.requests().front().toStdString();

    // The panel shows the offer; showing it asks for a refresh, which is not due.
    openPanel();
    ASSERT_TRUE(waitUntil([&] { return card() != nullptr; }));
    EXPECT_EQ(card()->update(), expected);
    EXPECT_EQ(card()->titleLabel()->titleView()->text(), QStringLiteral("Version 99.0 is here"));
    EXPECT_TRUE(card()->isVisibleTo(runtime->searchPanel()));
    letTheNetworkRun();
    EXPECT_EQ(server.requests().size(), 1);

    // Download hands the link to the desktop's opener.
    {
        const QByteArray realPath = qgetenv("PATH");
        TestSupport::FakeXdgOpen opener;
        // The fake opener first; xdotool, which clicks, still from the real PATH.
        qputenv("PATH", qgetenv("PATH") + ":" + realPath);
        ASSERT_TRUE(click(card()->downloadButton()));
        ASSERT_TRUE(waitUntil([&] { return !opener.calls().empty(); }));
        EXPECT_EQ(opener.calls(), std::vector{QStringList{expected.download.toString()}});
    }

    // A later process within 15 days asks nothing and still offers it.
    {
        auto later = laterChecker();
        ASSERT_NE(later, nullptr);
        EXPECT_EQ(later->available(), expected);
        later->refresh();
        letTheNetworkRun();
        EXPECT_EQ(later->available(), expected);
        EXPECT_EQ(server.requests().size(), 1);
    }

    // "Not now" takes the card away and withdraws the offer, for later processes too.
    ASSERT_TRUE(click(card()->notNowButton()));
    EXPECT_TRUE(waitUntil([&] { return card() == nullptr; }));
    EXPECT_EQ(notifier->available(), std::nullopt);
    {
        auto later = laterChecker();
        EXPECT_EQ(later->available(), std::nullopt);
        later->refresh();
        letTheNetworkRun();
        EXPECT_EQ(later->available(), std::nullopt);
    }
    EXPECT_EQ(server.requests().size(), 1);
}

// A snapshot run never reaches the network: its factory makes no notifier at all.
TEST_F(AppUpdateLive, ASnapshotArgumentMakesNoNotifierAndAsksNothing) {
    const QStringList snapshotRuns[] = {
        {QStringLiteral("dialcove"), QStringLiteral("--snapshot-update")},
        {QStringLiteral("dialcove"), QStringLiteral("--snapshot-dark"),
         QStringLiteral("--snapshot-scenario=list")},
        {QStringLiteral("dialcove"), QStringLiteral("--verbose"), QStringLiteral("--snapshot-")},
    };
    for (const QStringList& arguments : snapshotRuns)
        EXPECT_EQ(laterChecker(arguments), nullptr) << arguments.join(u' ').toStdString();

    // Beside the running app, whose own check is the only request. ctest runs each case in a process
    // of its own, so the app's notifier is made here, over this case's server.
    start();
    ASSERT_TRUE(waitUntil([&] { return server.requests().size() == 1; }, networkWait));
    for (const QStringList& arguments : snapshotRuns)
        EXPECT_EQ(laterChecker(arguments), nullptr);
    letTheNetworkRun();
    EXPECT_EQ(server.connections(), 1);
}

} // namespace
