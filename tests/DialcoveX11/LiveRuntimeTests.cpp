#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Shell/DialcoveApp.hpp"
#include "Dialcove/Shell/GlobalShortcut.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Shell/LiveRuntime.hpp"
#include "Dialcove/Shell/SettingsCommand.hpp"
#include "Dialcove/Shell/StatusIconArt.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "LiveRuntimeEnding.hpp"
#include "MurvelUI/Cards/NoticeCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelFooterButton.hpp"
#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"
#include "Platform/Desktop/TrayIcon.hpp"
#include "Platform/Desktop/WakeWatcher.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Dialcove/Support/FakeContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeContactRecentStorage.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/FakeGlobalShortcutsPortal.hpp"
#include "tests/support/FakeSettingsPortal.hpp"
#include "tests/support/PrivateBus.hpp"
#include "tests/support/WindowManager.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QDBusMessage>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

using Dialcove::ContactPermission;
using Dialcove::LiveRuntime;
using Dialcove::PanelPhase;
using DialcoveCore::MenuStatus;

namespace {

constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
// Bare, Caps Lock, Num Lock, both.
constexpr uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

// A permission whose every read is counted: a refresh of a closed panel reads it exactly once.
class CountingPermission final : public Dialcove::ContactPermissionService {
public:
    explicit CountingPermission(ContactPermission status) : current(status) {}

    ContactPermission current;
    mutable int reads = 0;

    ContactPermission status() const override {
        ++reads;
        return current;
    }
    QFuture<void> request() override { return QtFuture::makeReadyFuture(); }
    bool openSettings() override { return false; }
};

// What the runtime opened through the window hooks, and the panel's phase as each opened.
struct WindowHooks {
    int preferences = 0;
    int welcomes = 0;
    int welcomeCloses = 0;
    std::vector<PanelPhase> phases;
    std::function<void()> finish;
    // "hasSeenWelcome" as the welcome window closed.
    std::optional<bool> flagAtClose;
};

// The runtime over fakes of the five services, in a temporary home, on this test's own Xvfb with
// no tray, beside a second X client.
class LiveRuntimeTest : public testing::Test {
protected:
    LiveRuntimeTest() {
        xdg.setVariable("HOME", QFile::encodeName(xdg.path("home")));
        xdg.setVariable(Platform::AddressBookSettings::kFolderVariable, std::nullopt);
        // The update check at start meets a closed port on this machine, never the network.
        xdg.setVariable("DIALCOVE_UPDATE_SITE", "https://127.0.0.1:9");
        QDir().mkpath(xdg.path("home"));
        defaults = std::make_shared<Platform::UserDefaults>(xdg.path("config/dialcove/dialcove.ini"));
    }

    ~LiveRuntimeTest() override { end(); }

    LiveRuntime::Windows windows() {
        return {[this](Dialcove::ContactSettings&) {
                    ++hooks.preferences;
                    hooks.phases.push_back(runtime->panel().session().phase());
                },
                [this](Dialcove::ContactsPanel& panel, std::function<void()> finish,
                       const std::function<void(QWindow&)>&) {
                    ++hooks.welcomes;
                    hooks.phases.push_back(panel.session().phase());
                    hooks.finish = std::move(finish);
                },
                [this] {
                    ++hooks.welcomeCloses;
                    hooks.flagAtClose = defaults->boolValue(LiveRuntime::hasSeenWelcomeKey);
                }};
    }

    void build(ContactPermission access = ContactPermission::allowed, bool seenWelcome = true,
               LiveRuntime::Options options = {}) {
        if (seenWelcome)
            defaults->setBool(LiveRuntime::hasSeenWelcomeKey, true);
        // The session's own settings portal, if the machine has one, says nothing here.
        if (!options.sessionBus)
            options.sessionBus = QDBusConnection(QStringLiteral("no bus"));
        permission = std::make_shared<CountingPermission>(access);
        runtime = std::make_unique<LiveRuntime>(
            defaults,
            LiveRuntime::Services{PanelGraph::inMemorySettings(), worker, permission, output, recents},
            windows(), std::move(options));
    }

    void start() {
        runtime->start();
        PanelGraph::settle(runtime->startupTask());
    }

    // Answers the load and its first search that `open` starts.
    void openThrough(const std::function<void()>& open) {
        const std::size_t loads = worker->loads.size();
        const std::size_t searches = worker->searches.size();
        open();
        PanelGraph::awaitCall(worker->loads, loads + 1).answer.answer();
        PanelGraph::awaitCall(worker->searches, searches + 1).answer.answer(Contacts::all());
        PanelGraph::settle(runtime->panel().loadTask());
        ASSERT_EQ(runtime->panel().session().phase(), PanelPhase::list);
    }

    int refreshesSince(int reads) const { return permission->reads - reads; }

    void end() { endLiveRuntime(runtime, *worker, *output); }

    TestSupport::XdgSandbox xdg;
    X11TestClient client;
    const xcb_keycode_t k = client.keycodeOf(XKB_KEY_k);
    std::shared_ptr<Platform::UserDefaults> defaults;
    std::shared_ptr<FakeContactSessionService> worker = std::make_shared<FakeContactSessionService>();
    std::shared_ptr<CountingPermission> permission;
    std::shared_ptr<FakeContactOutputService> output = std::make_shared<FakeContactOutputService>();
    std::shared_ptr<FakeContactRecentStorage> recents = std::make_shared<FakeContactRecentStorage>();
    WindowHooks hooks;
    std::unique_ptr<LiveRuntime> runtime;
};

TEST_F(LiveRuntimeTest, StartTakesTheHotKeyAndShowsTheStatusAndStopLeavesNothingBehind) {
    build();
    start();
    EXPECT_TRUE(runtime->hotkey()->hasRegistration());
    EXPECT_FALSE(client.grabKey(k, controlAlt)) << "we hold Control-Alt-K";
    ASSERT_TRUE(runtime->statusItem());
    EXPECT_TRUE(runtime->statusItem()->isVisible());
    EXPECT_FALSE(runtime->statusItem()->icon().isNull());
    EXPECT_EQ(runtime->shownStatus(), MenuStatus::ready);
    EXPECT_TRUE(runtime->isWatchingActivation());
    EXPECT_GT(runtime->observerCount(), 0u);
    EXPECT_EQ(hooks.welcomes, 0);

    openThrough([&] { runtime->togglePanel(false); }); // the window listens to the display too
    ASSERT_TRUE(waitUntil([&] { return runtime->searchPanel()->isVisible(); }));

    Dialcove::GlobalShortcut* hotkey = runtime->hotkey();
    QSignalSpy hotkeyGone(hotkey, &QObject::destroyed);
    EXPECT_GT(runtime->displayListeners(), 0);
    runtime->stop();
    for (const uint16_t locks : lockVariants)
        EXPECT_TRUE(client.grabKey(k, controlAlt | locks)) << "lock variant " << locks;
    EXPECT_EQ(hotkeyGone.count(), 1) << "registration and handler gone with it";
    EXPECT_EQ(runtime->hotkey(), nullptr);
    EXPECT_EQ(runtime->displayListeners(), 0);
    EXPECT_EQ(runtime->observerCount(), 0u);
    EXPECT_FALSE(runtime->isWatchingActivation());
    EXPECT_EQ(runtime->statusItem(), nullptr);
    EXPECT_FALSE(runtime->shownStatus());

    // Nothing reaches it any more: neither a switch of application nor a tray click's road.
    const int reads = permission->reads;
    const xcb_window_t other = client.createWindow({100, 100, 50, 50});
    client.setRootWindowProperty("_NET_ACTIVE_WINDOW", other);
    syncWithX();
    TestSupport::drainEvents();
    EXPECT_EQ(refreshesSince(reads), 0);
    runtime->togglePanel(true);
    EXPECT_EQ(runtime->searchPanel(), nullptr);
}

TEST_F(LiveRuntimeTest, TheWelcomeOpensAfterACloseWhenTheFlagIsUnsetOrAccessIsNotAllowed) {
    struct Case {
        bool seen;
        ContactPermission access;
        bool opens;
    };
    const Case cases[] = {
        {false, ContactPermission::allowed, true},    {false, ContactPermission::denied, true},
        {false, ContactPermission::restricted, true}, {false, ContactPermission::unknown, true},
        {true, ContactPermission::allowed, false},    {true, ContactPermission::denied, true},
        {true, ContactPermission::restricted, true},  {true, ContactPermission::unknown, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "seen " << c.seen << ", access " << int(c.access));
        defaults->remove(LiveRuntime::hasSeenWelcomeKey);
        hooks = {};
        build(c.access, c.seen);
        runtime->panel().session().setPhase(PanelPhase::list); // so the close before it shows
        start();
        EXPECT_EQ(hooks.welcomes, c.opens ? 1 : 0);
        if (c.opens) {
            EXPECT_EQ(hooks.phases, std::vector{PanelPhase::closed});
        }
        EXPECT_EQ(hooks.welcomeCloses, 0);
        EXPECT_EQ(defaults->boolValue(LiveRuntime::hasSeenWelcomeKey), c.seen) << "only finish writes it";
        end();
    }

    // finish writes the flag, then closes; once the runtime is gone it only closes.
    defaults->remove(LiveRuntime::hasSeenWelcomeKey);
    hooks = {};
    build(ContactPermission::allowed, false);
    start();
    ASSERT_TRUE(hooks.finish);
    hooks.finish();
    EXPECT_EQ(hooks.welcomeCloses, 1);
    EXPECT_EQ(hooks.flagAtClose, true);

    const auto finish = hooks.finish;
    end();
    defaults->remove(LiveRuntime::hasSeenWelcomeKey);
    finish();
    EXPECT_EQ(hooks.welcomeCloses, 2);
    EXPECT_FALSE(defaults->boolValue(LiveRuntime::hasSeenWelcomeKey));
}

TEST_F(LiveRuntimeTest, TheHotKeyChangesNothingWhileRecordingAndClosesEveryOpenPhaseOnce) {
    build();
    start();
    Dialcove::ContactsPanel& panel = runtime->panel();

    panel.keyboard().setRecordingShortcut(true);
    runtime->hotKeyPressed();
    EXPECT_EQ(panel.session().phase(), PanelPhase::closed);
    EXPECT_EQ(runtime->searchPanel(), nullptr);
    panel.session().setPhase(PanelPhase::list);
    runtime->hotKeyPressed();
    EXPECT_EQ(panel.session().phase(), PanelPhase::list);
    panel.keyboard().setRecordingShortcut(false);
    ASSERT_TRUE(runtime->hotkey()->hasRegistration());

    for (const PanelPhase phase : {PanelPhase::loading, PanelPhase::list, PanelPhase::detail,
                                   PanelPhase::failure, PanelPhase::permission}) {
        SCOPED_TRACE(testing::Message() << "phase " << int(phase));
        panel.session().setPhase(phase);
        ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
        EXPECT_TRUE(waitUntil([&] { return panel.session().phase() == PanelPhase::closed; }));
        syncWithX();
        TestSupport::drainEvents();
        EXPECT_EQ(panel.session().phase(), PanelPhase::closed);
        EXPECT_EQ(runtime->searchPanel(), nullptr) << "closed, never opened";
    }
}

TEST_F(LiveRuntimeTest, WithoutATrayTheHotKeyOpensThePanelAtTheTopCentreOfTheScreen) {
    build();
    start();
    ASSERT_FALSE(Platform::TrayIcon::trayAvailable());
    openThrough([&] { ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"})); });
    ASSERT_TRUE(runtime->searchPanel());
    EXPECT_TRUE(waitUntil([&] { return runtime->searchPanel()->isVisible(); }));
    EXPECT_EQ(runtime->searchPanel()->anchor(), QRect(QPoint(640, 0), QSize(0, 0)));

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return !runtime->searchPanel()->isVisible(); }));
    EXPECT_EQ(runtime->panel().session().phase(), PanelPhase::closed);
}

TEST_F(LiveRuntimeTest, AnActivationRefreshesTwiceAndASecondBeforeTheTaskRanMakesThree) {
    build();
    start();
    int reads = permission->reads;
    const xcb_window_t other = client.createWindow({100, 100, 50, 50});
    client.setRootWindowProperty("_NET_ACTIVE_WINDOW", other);
    ASSERT_TRUE(waitUntil([&] { return runtime->refreshTask() && runtime->refreshTask()->isFinished(); }));
    EXPECT_EQ(refreshesSince(reads), 2);

    reads = permission->reads;
    runtime->refresh();
    const Dialcove::TaskHandle first = *runtime->refreshTask();
    runtime->refresh();
    EXPECT_TRUE(first.isCancelled());
    PanelGraph::settle(runtime->refreshTask());
    TestSupport::drainEvents();
    EXPECT_EQ(refreshesSince(reads), 3);
}

TEST_F(LiveRuntimeTest, WakingFromSleepRefreshesTwiceAndGoingToSleepNothing) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    build(ContactPermission::allowed, true, {.wakeBus = bus.connect(), .sessionBus = QDBusConnection(QStringLiteral("no bus"))});
    start();
    EXPECT_TRUE(runtime->isWatchingWake());

    QDBusConnection logind = bus.connect();
    ASSERT_TRUE(logind.registerService(Platform::WakeWatcher::service));
    const auto prepareForSleep = [&](bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(
            Platform::WakeWatcher::path, Platform::WakeWatcher::interface, QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        ASSERT_TRUE(logind.send(signal));
    };
    const int reads = permission->reads;
    prepareForSleep(true);
    prepareForSleep(false); // after the first on the bus, so its refreshes come last
    ASSERT_TRUE(waitUntil([&] { return runtime->refreshTask() && runtime->refreshTask()->isFinished(); }));
    TestSupport::drainEvents();
    EXPECT_EQ(refreshesSince(reads), 2);
}

// In a Wayland session the hot key is the portal's: its trigger shows in the routes, an activation
// toggles the panel, and no X grab is made (it would hear only X windows' keys). When the portal
// goes, the route says so and a second start still opens the panel, without a restart.
TEST_F(LiveRuntimeTest, InAWaylandSessionThePortalsShortcutTogglesThePanelAndASecondStartOutlivesIt) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    TestSupport::FakeGlobalShortcutsPortal desktop(bus.connect());
    desktop.chosenTrigger = "Ctrl+Alt+K";
    xdg.setVariable("WAYLAND_DISPLAY", "wayland-test");
    build(ContactPermission::allowed, true,
          {.wakeBus = QDBusConnection(QStringLiteral("no bus")), .sessionBus = bus.connect()});
    start();
    Dialcove::DesktopRoutes& routes = runtime->panel().routes();
    ASSERT_TRUE(waitUntil([&] { return routes.portalTrigger() == "Ctrl+Alt+K"; }));
    EXPECT_EQ(routes.hotKeyRoute(), Dialcove::DesktopRoutes::HotKeyRoute::portal);
    EXPECT_TRUE(client.grabKey(k, controlAlt)) << "no key grab under a Wayland session";
    client.ungrabKeys();
    EXPECT_FALSE(runtime->panel().keyboard().shortcutConflict());

    openThrough([&] { desktop.activate("search-contacts"); });
    desktop.activate("search-contacts");
    EXPECT_TRUE(waitUntil([&] { return runtime->panel().session().phase() == PanelPhase::closed; }));

    desktop.leave();
    EXPECT_TRUE(waitUntil(
        [&] { return routes.hotKeyRoute() == Dialcove::DesktopRoutes::HotKeyRoute::desktopSettings; }));
    EXPECT_TRUE(routes.portalTrigger().isEmpty());
    openThrough([&] { runtime->secondStart({}); });
}

TEST_F(LiveRuntimeTest, TheIconFollowsTheMenuStatusThroughOneTable) {
    const std::pair<MenuStatus, const char*> table[] = {
        {MenuStatus::ready, "person.crop.rectangle.fill"},
        {MenuStatus::disabled, "person.crop.rectangle"},
        {MenuStatus::needsPermission, "exclamationmark.triangle.fill"},
        {MenuStatus::shortcutConflict, "exclamationmark.triangle.fill"},
        {MenuStatus::copied, "checkmark"},
    };
    for (const auto& [status, symbol] : table) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(LiveRuntime::statusSymbol(status), symbol);
        // Never an invisible icon: some pixel of every size is drawn.
        const QIcon icon = LiveRuntime::statusIcon(status, Qt::black);
        ASSERT_FALSE(icon.availableSizes().isEmpty());
        for (const QSize size : icon.availableSizes()) {
            const QImage image = icon.pixmap(size).toImage();
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y)
                for (int x = 0; x < image.width() && !drawn; ++x)
                    drawn = qAlpha(image.pixel(x, y)) > 128;
            EXPECT_TRUE(drawn) << size.width();
        }
    }

    // A conflict at start, then a copy's check mark and back, then lost access.
    ASSERT_TRUE(client.grabKey(k, controlAlt));
    build();
    start();
    EXPECT_EQ(runtime->shownStatus(), MenuStatus::shortcutConflict);
    client.ungrabKeys();
    runtime->panel().keyboard().setRecordingShortcut(false); // tries again
    EXPECT_TRUE(waitUntil([&] { return runtime->shownStatus() == MenuStatus::ready; }));

    runtime->panel().actions().showCopied();
    EXPECT_TRUE(waitUntil([&] { return runtime->shownStatus() == MenuStatus::copied; }));
    EXPECT_TRUE(waitUntil([&] { return runtime->shownStatus() == MenuStatus::ready; }));

    permission->current = ContactPermission::denied;
    runtime->panel().refresh();
    EXPECT_TRUE(waitUntil([&] { return runtime->shownStatus() == MenuStatus::needsPermission; }));

    // Drawn in the palette's text colour, and again when the palette changes.
    const auto iconColour = [&] {
        const QImage image = runtime->statusItem()->icon().pixmap(32, 32).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    return QColor(image.pixel(x, y));
        return QColor();
    };
    EXPECT_EQ(iconColour(), QApplication::palette().color(QPalette::WindowText));
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::WindowText, QColor(250, 250, 250));
    QApplication::setPalette(dark);
    EXPECT_TRUE(waitUntil([&] { return iconColour() == QColor(250, 250, 250); }));
}

// The colour of the first opaque pixel of the shown icon.
QColor iconColour(const Platform::TrayIcon& icon) {
    const QImage image = icon.icon().pixmap(32, 32).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                return QColor(image.pixel(x, y));
    return QColor();
}

TEST_F(LiveRuntimeTest, TheIconReadsOnAPanelOfTheDesktopsColourScheme) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    TestSupport::FakeSettingsPortal portal(bus.connect());
    ASSERT_TRUE(portal.isRegistered());
    portal.colorScheme = 1; // dark
    build(ContactPermission::allowed, true, {.sessionBus = bus.connect()});
    start();
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    ASSERT_NE(text, Qt::white);
    EXPECT_TRUE(waitUntil([&] { return iconColour(*runtime->statusItem()) == Qt::white; }));

    const std::pair<uint, QColor> switches[] = {{2, Qt::black}, {0, text}, {1, Qt::white}};
    for (const auto& [scheme, colour] : switches) {
        SCOPED_TRACE(scheme);
        ASSERT_TRUE(portal.announce(scheme));
        EXPECT_TRUE(waitUntil([&] { return iconColour(*runtime->statusItem()) == colour; }));
    }
    // Every status keeps its own symbol in that colour, and a copy run from its build folder hands
    // the tray no theme name: there is no installed icon behind it.
    runtime->panel().actions().showCopied();
    ASSERT_TRUE(waitUntil([&] { return runtime->shownStatus() == MenuStatus::copied; }));
    EXPECT_EQ(iconColour(*runtime->statusItem()), Qt::white);
    EXPECT_EQ(runtime->statusItem()->themeName(), QString());
    EXPECT_EQ(Dialcove::StatusIconArt::themeName(MenuStatus::copied),
              "works.murvel.dialcove-copied-symbolic");
}

TEST_F(LiveRuntimeTest, TheTrayMenuHoldsTheFooterButtonsAndEachDoesWhatItsButtonDoes) {
    build();
    start();
    QMenu* menu = runtime->statusItem()->menu();
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (const QAction* action : menu->actions())
        titles << action->text();
    ASSERT_EQ(titles, (QStringList{"Preferences", "Getting Started", "Quit"}));

    openThrough([&] { runtime->togglePanel(false); });
    MurvelUI::PanelFooter* footer = runtime->searchPanel()->view()->chrome()->footer();
    // Each road, from the menu with the panel open and closed and from the footer, closes the
    // panel first and opens its window once.
    const struct {
        int index;
        MurvelUI::PanelFooterButton* button;
        int WindowHooks::*count;
    } entries[] = {{0, footer->preferencesButton(), &WindowHooks::preferences},
                   {1, footer->guideButton(), &WindowHooks::welcomes}};
    for (const auto& entry : entries) {
        SCOPED_TRACE(titles[entry.index].toStdString());
        hooks.phases.clear();
        const int before = hooks.*entry.count;
        menu->actions()[entry.index]->trigger();
        EXPECT_EQ(hooks.*entry.count, before + 1);
        menu->actions()[entry.index]->trigger(); // now with the panel closed
        EXPECT_EQ(hooks.*entry.count, before + 2);
        openThrough([&] { runtime->togglePanel(false); });
        ASSERT_NE(entry.button, nullptr);
        entry.button->click();
        EXPECT_EQ(hooks.*entry.count, before + 3);
        EXPECT_EQ(hooks.phases, (std::vector{PanelPhase::closed, PanelPhase::closed, PanelPhase::closed}));
        openThrough([&] { runtime->togglePanel(false); });
    }

    // Quit ends the application's loop with 0, from the menu as from the footer, also while
    // windows are open that only hide on a close, as the preferences and the welcome window do.
    struct HidingWindow : QWidget {
        void closeEvent(QCloseEvent* event) override {
            event->ignore();
            hide();
        }
    };
    HidingWindow first;
    HidingWindow second;
    const std::function<void()> quits[] = {[&] { menu->actions()[2]->trigger(); },
                                           [&] { footer->quitButton()->click(); }};
    for (const auto& quit : quits) {
        first.show();
        second.show();
        QTimer::singleShot(0, quit);
        QTimer::singleShot(3000, [] { QCoreApplication::exit(7); });
        EXPECT_EQ(QApplication::exec(), 0);
    }
}

TEST_F(LiveRuntimeTest, ControlCommaClosesThePanelThenOpensThePreferences) {
    build();
    Dialcove::SettingsCommand command([this] { runtime->openPreferences(); });
    start();
    openThrough([&] { runtime->togglePanel(false); });
    ASSERT_TRUE(waitUntil([&] {
        return runtime->searchPanel() && runtime->searchPanel()->view()->listSection()->field()->hasFocus();
    }));

    ASSERT_TRUE(xdotool({"key", "ctrl+comma"}));
    ASSERT_TRUE(waitUntil([&] { return hooks.preferences == 1; }));
    EXPECT_EQ(hooks.phases, std::vector{PanelPhase::closed});
    EXPECT_FALSE(runtime->searchPanel()->isVisible());
}

TEST(DialcoveApplication, ClosingTheLastWindowDoesNotQuit) {
    Dialcove::DialcoveApp::configureApplication();
    EXPECT_EQ(QApplication::applicationName(), "Dialcove");
    EXPECT_FALSE(QApplication::windowIcon().isNull());

    QEventLoop loop;
    QWidget window;
    QTimer::singleShot(0, [&] {
        window.show();
        QTimer::singleShot(100, [&] { window.close(); });
    });
    QTimer::singleShot(600, [&] { loop.exit(7); });
    // A quit would end the loop at once with status 0.
    EXPECT_EQ(loop.exec(), 7);
}

// The live services: a card file rewritten on disk reaches the open contact.
TEST_F(LiveRuntimeTest, ARewrittenCardReachesTheOpenContact) {
    const auto card = [](const char* phone) {
        return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ana\r\nFN:Ana "
                          "Lima\r\nN:Lima;Ana;;;\r\nTEL;TYPE=CELL:") +
               phone + "\r\nEND:VCARD\r\n";
    };
    ASSERT_TRUE(xdg.write("data/contacts/ana.vcf", card("+55 11 91234-5678")));
    Platform::AddressBookSettings book;
    book.setConsent(Platform::AddressBookSettings::Consent::given);
    defaults->setBool(LiveRuntime::hasSeenWelcomeKey, true);
    runtime = std::make_unique<LiveRuntime>(defaults, windows(),
                                            LiveRuntime::Options{QDBusConnection(QStringLiteral("no bus")), QDBusConnection(QStringLiteral("no bus"))});
    runtime->start();
    Dialcove::ContactsPanel& panel = runtime->panel();
    panel.open();
    ASSERT_TRUE(waitUntil([&] { return panel.loadTask() && panel.loadTask()->isFinished(); }));
    panel.search().update("lima");
    ASSERT_TRUE(waitUntil([&] { return !panel.navigation().results().empty(); }));
    panel.navigation().openSelected();
    ASSERT_TRUE(waitUntil([&] { return panel.navigation().contact().has_value(); }));

    const auto phone = [&] {
        const auto& contact = panel.navigation().contact();
        return contact && !contact->fields().empty() ? contact->fields().front().value : std::string();
    };
    EXPECT_EQ(phone(), "+55 11 91234-5678");
    ASSERT_TRUE(xdg.write("data/contacts/ana.vcf", card("+55 11 90000-0000")));
    EXPECT_TRUE(waitUntil([&] { return phone() == "+55 11 90000-0000"; }));
    EXPECT_EQ(panel.session().phase(), PanelPhase::detail);
}

// The panel that opened the consent or the access window gets the keyboard back when that window
// closes: no window manager gives the focus to an override-redirect window, so typing would reach
// nothing. A window manager gives the focus of a closed window to one of its own, after any the
// program asked for once the window was gone.
TEST_F(LiveRuntimeTest, ThePanelGetsTheKeyboardBackWhenTheAccessWindowItOpenedCloses) {
    using Consent = Platform::AddressBookSettings::Consent;
    struct Case {
        const char* name;
        Consent consent;
        const char* button;
        bool windowManager;
    };
    const Case cases[] = {{"consent", Consent::none, "Allow Access", false},
                          {"access", Consent::given, "Open Contacts Access", false},
                          {"consent, managed", Consent::none, "Allow Access", true},
                          {"access, managed", Consent::given, "Open Contacts Access", true}};
    Dialcove::LinuxStrings::install();
    defaults->setBool(LiveRuntime::hasSeenWelcomeKey, true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<TestSupport::WindowManager> manager;
        if (c.windowManager) {
            manager.emplace();
            ASSERT_TRUE(manager->isRunning());
        }
        // No contacts folder: with consent given, access is denied.
        Platform::AddressBookSettings().setConsent(c.consent);
        runtime = std::make_unique<LiveRuntime>(
            defaults, windows(), LiveRuntime::Options{QDBusConnection(QStringLiteral("no bus"))});
        runtime->start();
        runtime->togglePanel(false);
        Dialcove::SearchPanel* window = runtime->searchPanel();
        ASSERT_TRUE(waitUntil([&] { return client.focusedWindow() == window->winId(); }));
        ASSERT_EQ(runtime->panel().session().phase(), PanelPhase::permission);

        MurvelUI::MurvelButton* open = nullptr;
        for (auto* button : window->view()->permissionNotice()->findChildren<MurvelUI::MurvelButton*>())
            if (button->text() == c.button)
                open = button;
        ASSERT_NE(open, nullptr);
        ASSERT_TRUE(clickAt(open->mapToGlobal(open->rect().center())));
        QWidget* dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if ((qobject_cast<Platform::ConsentDialog*>(top) || qobject_cast<Platform::AccessDialog*>(top)) &&
                    top->isVisible())
                    dialog = top;
            return dialog != nullptr;
        }));
        const auto dialogHasTheKeyboard = [&] {
            return QApplication::activeWindow() == dialog && client.focusedWindow() == dialog->winId();
        };
        // A window manager may keep a new window from taking the focus; the user then activates it.
        if (c.windowManager && !QTest::qWaitFor(dialogHasTheKeyboard, 2000)) {
            ASSERT_TRUE(xdotool({"windowactivate", "--sync", QString::number(dialog->winId())}));
        }
        ASSERT_TRUE(waitUntil(dialogHasTheKeyboard));

        ASSERT_TRUE(xdotool({"key", "Escape"}));
        EXPECT_TRUE(waitUntil([&] { return client.focusedWindow() == window->winId(); }))
            << "the focus is on " << client.focusedWindow();
        EXPECT_TRUE(window->isVisible());
        // The keys reach the panel again: Escape closes it.
        ASSERT_TRUE(xdotool({"key", "Escape"}));
        EXPECT_TRUE(waitUntil([&] { return runtime->panel().session().phase() == PanelPhase::closed; }));
        runtime->stop();
        runtime.reset();
        TestSupport::drainEvents();
    }
}

} // namespace
