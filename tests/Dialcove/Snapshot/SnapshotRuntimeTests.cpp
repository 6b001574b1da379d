#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Shell/ContactsAppDelegate.hpp"
#include "Dialcove/Snapshot/FixtureContacts.hpp"
#include "Dialcove/Snapshot/FixtureOutput.hpp"
#include "Dialcove/Snapshot/FixturePermission.hpp"
#include "Dialcove/Snapshot/SnapshotRuntime.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"
#include "tests/support/ContactIDs.hpp"
#include "tests/support/EventLoop.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QPalette>
#include <gtest/gtest.h>

using namespace Dialcove;
using namespace std::chrono_literals;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactID;
using DialcoveCore::DetailSelection;
using DialcoveCore::FieldID;
using MurvelUI::MurvelColorScheme;
using MurvelUI::MurvelSnapshot;
using MurvelUI::MurvelTypeSize;
using TestSupport::contactIDs;

namespace {

// Runs the event loop until `task` has finished; false when it does not within the time.
bool finish(QCoro::Task<> task, std::chrono::milliseconds timeout = 10s) {
    bool done = false;
    const auto watch = [](QCoro::Task<> running, bool* finished) -> QCoro::Task<> {
        co_await running;
        *finished = true;
    };
    const QCoro::Task<> watching = watch(std::move(task), &done);
    return TestSupport::waitUntil([&] { return done; }, timeout);
}

std::vector<ContactID> resultIDs(const ContactsPanel& panel) {
    std::vector<ContactID> ids;
    for (const auto& contact : panel.navigation().results())
        ids.push_back(contact.id());
    return ids;
}

const std::vector<ContactID> firstFive =
    contactIDs({"fixture-0", "fixture-1", "fixture-2", "fixture-3", "fixture-4"});
const std::vector<ContactID> allEight = contactIDs(
    {"fixture-0", "fixture-1", "fixture-2", "fixture-3", "fixture-4", "fixture-5", "fixture-6", "fixture-7"});

DetailSelection onField(const char* field, ContactAction action) {
    return DetailSelection::field(FieldID(field), action);
}

enum class View { panel, welcome, preferences };

// What a scenario leaves behind once its window shows.
struct Case {
    std::vector<const char*> arguments;
    SnapshotScenario scenario;
    PanelPhase phase;
    std::vector<ContactID> results = {};
    std::optional<const char*> selected = std::nullopt;
    std::optional<DetailSelection> detail = std::nullopt;
    bool externalFailure = false;
    bool recording = false;
    bool conflict = false;
    std::vector<ContactID> recents = firstFive;
    int maximumHeight = 900;
    View view = View::panel;
    MurvelColorScheme scheme = MurvelColorScheme::light;
    MurvelTypeSize typeSize = MurvelTypeSize::large;
    int loads = 1;
    bool enabled = true;
};

std::string describe(const Case& c) {
    std::string text;
    for (const char* argument : c.arguments)
        text += std::string(argument) + " ";
    return text;
}

const PanelPhase list = PanelPhase::list;
const PanelPhase opened = PanelPhase::detail;
const PanelPhase closed = PanelPhase::closed;
const PanelPhase permission = PanelPhase::permission;

} // namespace

class SnapshotRuntimeTest : public ::testing::Test {
protected:
    void TearDown() override {
        runtime.reset();
        TestSupport::drainEvents();
        QApplication::setPalette(QPalette());
    }

    std::unique_ptr<SnapshotRuntime> runtime = std::make_unique<SnapshotRuntime>();
};

TEST_F(SnapshotRuntimeTest, EveryScenarioAndSwitchEndsInItsState) {
    const std::vector<Case> cases = {
        {.arguments = {"--snapshot-menu"},
         .scenario = SnapshotScenario::menu,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0"},
        {.arguments = {"--snapshot-results"},
         .scenario = SnapshotScenario::results,
         .phase = list,
         .results = allEight,
         .selected = "fixture-0"},
        {.arguments = {"--snapshot-contact"},
         .scenario = SnapshotScenario::contact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("0phone", ContactAction::copy)},
        {.arguments = {"--snapshot-welcome"},
         .scenario = SnapshotScenario::welcome,
         .phase = closed,
         .view = View::welcome,
         .loads = 0},
        {.arguments = {"--snapshot-preferences"},
         .scenario = SnapshotScenario::preferences,
         .phase = closed,
         .view = View::preferences,
         .loads = 0},
        {.arguments = {"--snapshot-loading"},
         .scenario = SnapshotScenario::loading,
         .phase = PanelPhase::loading},
        {.arguments = {"--snapshot-empty"},
         .scenario = SnapshotScenario::empty,
         .phase = list,
         .recents = {}},
        {.arguments = {"--snapshot-failure"},
         .scenario = SnapshotScenario::failure,
         .phase = PanelPhase::failure},
        {.arguments = {"--snapshot-permission"},
         .scenario = SnapshotScenario::permission,
         .phase = permission,
         .loads = 0},
        {.arguments = {"--snapshot-denied"},
         .scenario = SnapshotScenario::denied,
         .phase = permission,
         .loads = 0},
        {.arguments = {"--snapshot-restricted"},
         .scenario = SnapshotScenario::restricted,
         .phase = permission,
         .loads = 0},
        {.arguments = {"--snapshot-conflict"},
         .scenario = SnapshotScenario::conflict,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0",
         .conflict = true},
        {.arguments = {"--snapshot-off"},
         .scenario = SnapshotScenario::off,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0",
         .enabled = false},
        {.arguments = {"--snapshot-long-contact"},
         .scenario = SnapshotScenario::longContact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("long0", ContactAction::copy)},
        {.arguments = {"--snapshot-external-error"},
         .scenario = SnapshotScenario::externalError,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("0phone", ContactAction::whatsapp),
         .externalFailure = true},
        {.arguments = {"--snapshot-shortcut-editor"},
         .scenario = SnapshotScenario::shortcutEditor,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0",
         .recording = true},
        {.arguments = {"--snapshot-no-results"}, .scenario = SnapshotScenario::noResults, .phase = list},
        // The switches.
        {.arguments = {"--snapshot-menu", "--snapshot-dark"},
         .scenario = SnapshotScenario::menu,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0",
         .scheme = MurvelColorScheme::dark},
        {.arguments = {"--snapshot-welcome", "--snapshot-dark", "--snapshot-large-text"},
         .scenario = SnapshotScenario::welcome,
         .phase = closed,
         .view = View::welcome,
         .scheme = MurvelColorScheme::dark,
         .typeSize = MurvelTypeSize::accessibility5,
         .loads = 0},
        {.arguments = {"--snapshot-contact", "--snapshot-large-text"},
         .scenario = SnapshotScenario::contact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("0phone", ContactAction::copy),
         .typeSize = MurvelTypeSize::accessibility5},
        {.arguments = {"--snapshot-long-contact", "--snapshot-short-panel"},
         .scenario = SnapshotScenario::longContact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("long0", ContactAction::copy),
         .maximumHeight = 648},
        // The last result is opened (so it becomes the newest recent) and the list shown again.
        {.arguments = {"--snapshot-results", "--snapshot-last-result"},
         .scenario = SnapshotScenario::results,
         .phase = list,
         .results = allEight,
         .selected = "fixture-7",
         .recents = contactIDs({"fixture-7", "fixture-0", "fixture-1", "fixture-2", "fixture-3"})},
        {.arguments = {"--snapshot-contact", "--snapshot-last-field"},
         .scenario = SnapshotScenario::contact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("0email", ContactAction::copy)},
        {.arguments = {"--snapshot-long-contact", "--snapshot-last-field"},
         .scenario = SnapshotScenario::longContact,
         .phase = opened,
         .results = firstFive,
         .selected = "fixture-0",
         .detail = onField("0email", ContactAction::copy)},
        // Access given by a switch lists the contacts even where the scenario asks for it.
        {.arguments = {"--snapshot-permission", "--snapshot-welcome-allowed"},
         .scenario = SnapshotScenario::permission,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0"},
        {.arguments = {"--snapshot-menu", "--snapshot-welcome-denied"},
         .scenario = SnapshotScenario::menu,
         .phase = permission,
         .loads = 0},
        {.arguments = {"--snapshot-menu", "--snapshot-welcome-denied", "--snapshot-welcome-allowed"},
         .scenario = SnapshotScenario::menu,
         .phase = list,
         .results = firstFive,
         .selected = "fixture-0"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c));
        runtime = std::make_unique<SnapshotRuntime>();
        QStringList arguments{QStringLiteral("dialcove")};
        for (const char* argument : c.arguments)
            arguments << QString::fromLatin1(argument);
        ASSERT_EQ(parseSnapshotScenario(arguments), c.scenario);
        ASSERT_TRUE(finish(runtime->start(c.scenario, arguments)));
        // The state holds: the loading state's load reaches the fixture on a later turn.
        TestSupport::drainEvents();

        ContactsPanel* panel = runtime->panel();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->session().phase(), c.phase);
        EXPECT_EQ(resultIDs(*panel), c.results);
        const auto& state = panel->navigation().state();
        EXPECT_EQ(state.selectedContactID,
                  c.selected ? std::optional(ContactID(*c.selected)) : std::optional<ContactID>());
        EXPECT_EQ(state.detail, c.detail);
        EXPECT_EQ(panel->actions().externalFailure(), c.externalFailure);
        EXPECT_EQ(panel->keyboard().recordingShortcut(), c.recording);
        EXPECT_EQ(panel->keyboard().shortcutConflict(), c.conflict);
        EXPECT_EQ(panel->recents().ids(), c.recents);
        EXPECT_EQ(panel->settings().values().enabled, c.enabled);
        EXPECT_EQ(runtime->contactSession()->loadsAsked(), c.loads);

        ASSERT_NE(runtime->geometry(), nullptr);
        EXPECT_EQ(runtime->geometry()->maximumHeight(), c.maximumHeight);
        QWidget* view = runtime->view();
        ASSERT_NE(view, nullptr);
        switch (c.view) {
        case View::panel:
            EXPECT_NE(qobject_cast<ContactsPanelView*>(view), nullptr);
            break;
        case View::welcome:
            EXPECT_NE(qobject_cast<ContactsWelcomeView*>(view), nullptr);
            break;
        case View::preferences:
            EXPECT_NE(qobject_cast<ContactsPreferencesView*>(view), nullptr);
            break;
        }
        EXPECT_EQ(runtime->setup()->surface,
                  c.view == View::panel ? MurvelSnapshot::Surface::menu : MurvelSnapshot::Surface::welcome);
        QWidget* window = MurvelSnapshot::window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isAncestorOf(view));
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(MurvelUI::MurvelEnvironment::of(view)->colorScheme(), c.scheme);
        EXPECT_EQ(MurvelUI::MurvelEnvironment::of(view)->typeSize(), c.typeSize);
        // Plain Qt widgets follow the application's palette.
        EXPECT_EQ(QApplication::palette().color(QPalette::Window),
                  MurvelUI::SystemPalette::windowBackground(c.scheme));
        EXPECT_EQ(QApplication::cursorFlashTime(), 0);
        // Nothing reached the outside: the fixture output was the only way out.
        EXPECT_EQ(runtime->output()->succeeds(), c.scenario != SnapshotScenario::externalError);
    }
}

TEST_F(SnapshotRuntimeTest, GoingDuringTheLoadingStateReturnsAtOnce) {
    // The fixture holds the load for the real minute.
    ASSERT_TRUE(finish(runtime->start(SnapshotScenario::loading, {QStringLiteral("--snapshot-loading")})));
    ASSERT_EQ(runtime->panel()->session().phase(), PanelPhase::loading);
    const std::optional<TaskHandle> load = runtime->panel()->loadTask();
    ASSERT_TRUE(load);
    ASSERT_FALSE(load->isFinished());

    QElapsedTimer elapsed;
    elapsed.start();
    runtime.reset();
    EXPECT_EQ(MurvelSnapshot::window(), nullptr);
    // The held load ends on the next turns, not after its minute; nothing is left to leak.
    EXPECT_TRUE(TestSupport::waitUntil([&] { return load->isFinished(); }, 2s));
    EXPECT_LT(elapsed.elapsed(), 2000);
}

TEST_F(SnapshotRuntimeTest, ACancelledStartShowsNoWindowAndAStartRunsOnce) {
    MurvelSnapshot::releaseWindow();
    CancellationToken cancellation;
    QCoro::Task<> starting =
        runtime->start(SnapshotScenario::menu, {QStringLiteral("--snapshot-menu")}, cancellation);
    cancellation.cancel();
    ASSERT_TRUE(finish(std::move(starting)));
    EXPECT_EQ(runtime->view(), nullptr);
    EXPECT_EQ(MurvelSnapshot::window(), nullptr);

    // The runtime is spent: a second start builds nothing new.
    ContactsPanel* first = runtime->panel();
    ASSERT_TRUE(finish(runtime->start(SnapshotScenario::menu, {QStringLiteral("--snapshot-menu")})));
    EXPECT_EQ(runtime->panel(), first);
    EXPECT_EQ(MurvelSnapshot::window(), nullptr);
}

class SnapshotDelegateTest : public ::testing::Test {
protected:
    void TearDown() override {
        TestSupport::drainEvents();
        QApplication::setPalette(QPalette());
    }

    static int visibleWindows() {
        int shown = 0;
        for (const QWidget* widget : QApplication::topLevelWidgets())
            shown += widget->isVisible() ? 1 : 0;
        return shown;
    }
};

TEST_F(SnapshotDelegateTest, AScenarioRunsTheSnapshotAloneAndTheSettingsCommandDoesNothing) {
    int preferencesOpened = 0;
    ContactsAppDelegate delegate({.showPreferences = [&](ContactSettings&) { ++preferencesOpened; },
                                  .showWelcome = {},
                                  .closeWelcome = {}});
    delegate.applicationDidFinishLaunching(
        {QStringLiteral("dialcove"), QStringLiteral("--snapshot-contact")});
    ASSERT_NE(delegate.snapshot(), nullptr);
    // No live runtime: no tray icon, no hot key, no welcome window, no update check.
    EXPECT_EQ(delegate.runtime(), nullptr);
    ASSERT_TRUE(delegate.launchTask());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return delegate.launchTask()->isFinished(); }));
    EXPECT_EQ(delegate.snapshot()->panel()->session().phase(), PanelPhase::detail);
    EXPECT_NE(MurvelSnapshot::window(), nullptr);
    EXPECT_EQ(visibleWindows(), 1);
    EXPECT_TRUE(qApp->findChildren<MurvelUI::UpdateNotifier*>().isEmpty());

    delegate.settingsCommand();
    TestSupport::drainEvents();
    EXPECT_EQ(preferencesOpened, 0);
    EXPECT_EQ(visibleWindows(), 1);

    // A second launch changes nothing.
    SnapshotRuntime* running = delegate.snapshot();
    delegate.applicationDidFinishLaunching({QStringLiteral("dialcove"), QStringLiteral("--snapshot-menu")});
    EXPECT_EQ(delegate.snapshot(), running);
}

TEST_F(SnapshotDelegateTest, TerminationCancelsTheStartSoNoWindowShows) {
    MurvelSnapshot::releaseWindow();
    {
        ContactsAppDelegate delegate;
        delegate.applicationDidFinishLaunching(
            {QStringLiteral("dialcove"), QStringLiteral("--snapshot-menu")});
        ASSERT_TRUE(delegate.launchTask());
        delegate.applicationWillTerminate();
        EXPECT_TRUE(delegate.launchTask()->isCancelled());
        ASSERT_TRUE(TestSupport::waitUntil([&] { return delegate.launchTask()->isFinished(); }));
        EXPECT_EQ(MurvelSnapshot::window(), nullptr);
        EXPECT_EQ(delegate.runtime(), nullptr);
    }
    // During the loading state, too, termination and the delegate's end return at once.
    QElapsedTimer elapsed;
    elapsed.start();
    {
        ContactsAppDelegate delegate;
        delegate.applicationDidFinishLaunching(
            {QStringLiteral("dialcove"), QStringLiteral("--snapshot-loading")});
        ASSERT_TRUE(TestSupport::waitUntil([&] { return delegate.launchTask()->isFinished(); }));
        EXPECT_NE(MurvelSnapshot::window(), nullptr);
        delegate.applicationWillTerminate();
    }
    EXPECT_LT(elapsed.elapsed(), 5000);
    EXPECT_EQ(MurvelSnapshot::window(), nullptr);
}
