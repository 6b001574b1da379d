#include "Platform/Contacts/AddressBookError.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/support/ContactIDs.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QSignalSpy>
#include <stdexcept>

using namespace Dialcove;
using Contacts::idsOf;
using DialcoveCore::ActionRequest;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactID;
using DialcoveCore::DetailSelection;
using DialcoveCore::FieldID;
using DialcoveCore::MenuStatus;
using DialcoveCore::MoveDirection;
using DialcoveCore::SessionPhase;

using TestSupport::contactIDs;

namespace {} // namespace

TEST(ContactsPanel, TheRoadFromOpeningToAFinishedAction) {
    PanelGraph graph;
    graph.recents->stored = contactIDs({"carla"});

    graph.panel->open();
    EXPECT_EQ(graph.session().phase(), PanelPhase::loading);
    const auto load = graph.awaitLoad();
    load.answer.answer();
    // The empty query lists the recent contacts.
    const auto first = graph.awaitSearch(1);
    EXPECT_EQ(first.session, load.session);
    EXPECT_EQ(first.query, "");
    EXPECT_EQ(first.recentIDs, contactIDs({"carla"}));
    first.answer.answer(std::vector{Contacts::carla()});
    PanelGraph::settle(graph.panel->loadTask());
    EXPECT_EQ(graph.session().phase(), PanelPhase::list);
    EXPECT_EQ(idsOf(graph.navigation().results()), contactIDs({"carla"}));
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("carla"));

    graph.type("a", Contacts::all());
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("ana")); // a new text: the first
    graph.navigation().move(MoveDirection::next);
    graph.navigation().move(MoveDirection::previous);
    graph.navigation().openSelected();
    EXPECT_EQ(graph.session().phase(), PanelPhase::detail);
    EXPECT_EQ(graph.navigation().contact(), Contacts::ana());
    EXPECT_EQ(graph.navigation().state().detail,
              DetailSelection::field(FieldID("ana-mobile"), ContactAction::copy));
    EXPECT_EQ(graph.recents->stored, contactIDs({"ana", "carla"})); // opening records it

    graph.recents->stored.clear(); // from here on, what the action records
    graph.navigation().selectField(FieldID("ana-mail"), ContactAction::email);
    graph.actions().performSelectedAction();
    EXPECT_TRUE(graph.actions().inProgress());
    const auto lookUp = graph.awaitLookUp(1);
    EXPECT_EQ(lookUp.session, load.session);
    EXPECT_EQ(lookUp.id, ContactID("ana"));
    lookUp.answer.answer(std::optional(Contacts::ana()));
    const auto opened = graph.awaitOpen(1);
    EXPECT_EQ(opened.request, ActionRequest::email("ana@example.com"));
    EXPECT_EQ(graph.closes, 0);

    opened.answer.answer(true);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.closes == 1; }));
    EXPECT_EQ(graph.recents->stored, contactIDs({"ana"}));
    EXPECT_EQ(graph.session().phase(), PanelPhase::closed);
    EXPECT_FALSE(graph.session().id());
    EXPECT_EQ(graph.search().query(), "");
    EXPECT_TRUE(graph.navigation().results().empty());
    EXPECT_EQ(graph.navigation().state(), DialcoveCore::NavigationState{});
    EXPECT_FALSE(graph.actions().inProgress());
    EXPECT_FALSE(graph.actions().externalFailure());
    EXPECT_FALSE(graph.actions().copied()); // not a copy
    EXPECT_TRUE(graph.output->copies.empty());
    TestSupport::drainEvents();
    ASSERT_EQ(graph.worker->ends.size(), 1u); // closing ends the worker's session
    EXPECT_EQ(graph.worker->ends[0].session, load.session);
}

TEST(ContactsPanel, ALateLoadAnswerCountsOnlyWhileItsSessionAndTicketAreCurrent) {
    struct Case {
        const char* name;
        std::function<void(PanelGraph&)> meanwhile;
        PanelPhase phase; // after the answer
        bool searched;    // whether the load went on to its first search
    };
    const std::vector<Case> cases{
        {"nothing happened", [](PanelGraph&) {}, PanelPhase::list, true},
        {"session changed: the panel was closed", [](PanelGraph& g) { g.panel->close(); }, PanelPhase::closed,
         false},
        {"ticket no longer held", [](PanelGraph& g) { g.dropTickets(); }, PanelPhase::loading, false},
        {"task cancelled", [](PanelGraph& g) { g.panel->loadTask()->cancel(); }, PanelPhase::loading, false},
        {"access withdrawn: the panel refreshes instead",
         [](PanelGraph& g) { g.permission->current = ContactPermission::denied; }, PanelPhase::permission,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.panel->open();
        const auto load = graph.awaitLoad();
        const TaskHandle task = *graph.panel->loadTask();
        c.meanwhile(graph);
        load.answer.answer();
        ASSERT_TRUE(
            TestSupport::waitUntil([&] { return task.isFinished() || !graph.worker->searches.empty(); }));
        TestSupport::drainEvents();
        EXPECT_EQ(graph.worker->searches.size(), c.searched ? 1u : 0u);
        if (c.searched) {
            graph.worker->searches[0].answer.answer(Contacts::all());
            PanelGraph::settle(task);
            EXPECT_EQ(idsOf(graph.navigation().results()), idsOf(Contacts::all()));
        }
        EXPECT_EQ(graph.session().phase(), c.phase);
    }
}

TEST(ContactsPanel, TextTypedDuringTheLoadIsSearchedAndALaterEditOvertakesTheFirstSearch) {
    PanelGraph graph;
    graph.panel->open();
    const auto load = graph.awaitLoad();
    graph.search().update("br"); // while loading: stored, not searched
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.worker->searches.empty());
    load.answer.answer();
    const auto first = graph.awaitSearch(1);
    EXPECT_EQ(first.query, "br");

    // Typing while the load's first search runs: that answer is stale, the edit's own fills the list.
    graph.search().update("bru");
    const auto second = graph.awaitSearch(2);
    first.answer.answer(Contacts::all());
    PanelGraph::settle(graph.panel->loadTask());
    EXPECT_TRUE(graph.navigation().results().empty());
    second.answer.answer(std::vector{Contacts::bruno()});
    PanelGraph::settle(graph.search().task());
    EXPECT_EQ(idsOf(graph.navigation().results()), contactIDs({"bruno"}));
    EXPECT_EQ(graph.session().phase(), PanelPhase::list);
}

TEST(ContactsPanel, WithoutAccessItShowsThePermissionPhaseAndAsksForAccess) {
    PanelGraph graph(ContactPermission::denied);
    graph.panel->open();
    EXPECT_EQ(graph.session().phase(), PanelPhase::permission);
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.worker->loads.empty());

    // Denied: the access settings, and a notice when they do not show.
    graph.panel->requestPermission();
    EXPECT_EQ(graph.permission->settingsOpened, 1);
    EXPECT_FALSE(graph.actions().externalFailure());
    graph.permission->settingsOpen = false;
    graph.panel->requestPermission();
    EXPECT_TRUE(graph.actions().externalFailure());
    EXPECT_TRUE(graph.permission->requests.empty());

    // Unknown: a second request overtakes the first, and only the second refreshes.
    graph.permission->current = ContactPermission::unknown;
    graph.panel->refresh();
    graph.panel->requestPermission();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.permission->requests.size() == 1; }));
    graph.panel->requestPermission();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.permission->requests.size() == 2; }));
    graph.permission->current = ContactPermission::allowed;
    graph.permission->requests[0].answer();
    TestSupport::drainEvents();
    EXPECT_EQ(graph.session().phase(), PanelPhase::permission);
    graph.permission->requests[1].fail(std::runtime_error("the dialog went away")); // ignored
    PanelGraph::settle(graph.panel->permissionTask());
    EXPECT_EQ(graph.session().phase(), PanelPhase::loading);
    EXPECT_EQ(graph.session().authorization(), ContactPermission::allowed);
    graph.awaitLoad();
}

TEST(ContactsPanel, AFailedLoadShowsTheFailureUntilTheNextLoad) {
    PanelGraph graph;
    graph.panel->open();
    graph.awaitLoad().answer.fail(Platform::AddressBookError("the contacts folder cannot be read"));
    PanelGraph::settle(graph.panel->loadTask());
    EXPECT_EQ(graph.session().phase(), PanelPhase::failure);
    EXPECT_EQ(graph.session().guardState().phase(), SessionPhase::failed);
    EXPECT_TRUE(graph.worker->searches.empty());

    graph.panel->refresh(); // access allowed: failure stays
    graph.search().update("a");
    EXPECT_EQ(graph.session().phase(), PanelPhase::failure);
    EXPECT_EQ(graph.search().query(), "");

    // A reload that fails after the panel closed leaves it closed.
    graph.panel->contactsDidChange();
    EXPECT_EQ(graph.session().phase(), PanelPhase::loading);
    const auto reload = graph.awaitLoad(2);
    graph.panel->close();
    reload.answer.fail(Platform::AddressBookError("late"));
    TestSupport::drainEvents();
    EXPECT_EQ(graph.session().phase(), PanelPhase::closed);

    // A failing first search is a failed load too.
    graph.openWith({});
    graph.panel->contactsDidChange();
    graph.awaitLoad(4).answer.answer();
    graph.awaitSearch(2).answer.fail(std::runtime_error("index gone"));
    PanelGraph::settle(graph.panel->loadTask());
    EXPECT_EQ(graph.session().phase(), PanelPhase::failure);
}

TEST(ContactsPanel, AnActionThatOpensNothingLeavesThePanelOpenWithTheFailure) {
    PanelGraph graph;
    graph.openWith();
    graph.navigation().openSelected();
    graph.recents->stored.clear();
    graph.actions().perform(ContactAction::whatsapp, FieldID("ana-mobile"), Contacts::ana());
    graph.awaitLookUp(1).answer.answer(std::optional(Contacts::ana()));
    const auto opened = graph.awaitOpen(1);
    EXPECT_EQ(opened.request, ActionRequest::whatsapp("+5511912345678"));
    opened.answer.answer(false);
    PanelGraph::settle(graph.actions().task());
    EXPECT_TRUE(graph.actions().externalFailure());
    EXPECT_FALSE(graph.actions().inProgress());
    EXPECT_EQ(graph.session().phase(), PanelPhase::detail);
    EXPECT_EQ(graph.closes, 0);
    EXPECT_TRUE(graph.recents->stored.empty());
    EXPECT_FALSE(graph.session().guardState().action()); // its ticket is let go

    // The next action starts without the old failure.
    graph.actions().perform(ContactAction::call, FieldID("ana-mobile"), Contacts::ana());
    EXPECT_FALSE(graph.actions().externalFailure());
    EXPECT_TRUE(graph.actions().inProgress());
}

TEST(ContactsPanel, TheCopyKeyWithNothingToCopyBeeps) {
    PanelGraph graph;
    graph.actions().copySelection(); // closed
    graph.panel->open();
    graph.actions().copySelection(); // loading
    graph.awaitLoad().answer.answer();
    graph.awaitSearch(1).answer.answer(std::vector{Contacts::bruno()});
    PanelGraph::settle(graph.panel->loadTask());
    graph.actions().copySelection(); // Bruno has no number
    EXPECT_EQ(graph.beeps, 3);
    EXPECT_TRUE(graph.output->copies.empty());
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.worker->lookUps.empty());

    // Return and Control-Return with nothing to do stay silent.
    graph.navigation().openSelected();
    graph.navigation().selectField(FieldID("bruno-mail"), ContactAction::email);
    graph.actions().openWhatsApp();
    EXPECT_EQ(graph.beeps, 3);
}

TEST(ContactsPanel, AChangedAddressBookReopensTheOpenContact) {
    struct Case {
        const char* name;
        std::optional<DialcoveCore::Contact> found; // the contact after the change
        PanelPhase phase;
        std::optional<DetailSelection> detail;
    };
    DialcoveCore::Contact moved = Contacts::carla();
    moved = {moved.id(), moved.formattedName(), "", "", "", "", {Contacts::carla().fields()[1]}};
    const std::vector<Case> cases{
        {"still there", Contacts::carla(), PanelPhase::detail,
         DetailSelection::field(FieldID("carla-mobile"), ContactAction::whatsapp)},
        {"its other field gone", moved, PanelPhase::detail,
         DetailSelection::field(FieldID("carla-mobile"), ContactAction::whatsapp)},
        {"deleted", std::nullopt, PanelPhase::list, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.openWith();
        graph.type("c", std::vector{Contacts::carla()});
        graph.navigation().openSelected();
        graph.navigation().selectField(FieldID("carla-mobile"), ContactAction::whatsapp);

        graph.panel->contactsDidChange();
        EXPECT_EQ(graph.session().phase(), PanelPhase::loading);
        graph.awaitLoad(2).answer.answer();
        const auto search = graph.awaitSearch(3);
        EXPECT_EQ(search.query, "c"); // the query survives the reload
        search.answer.answer(std::vector{Contacts::carla()});
        const auto lookUp = graph.awaitLookUp(1);
        EXPECT_EQ(lookUp.id, ContactID("carla"));
        lookUp.answer.answer(c.found);
        PanelGraph::settle(graph.panel->loadTask());
        EXPECT_EQ(graph.session().phase(), c.phase);
        EXPECT_EQ(graph.navigation().contact(), c.found);
        EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("carla"));
        EXPECT_EQ(graph.navigation().state().detail, c.detail);
    }

    // Closed, it only reads the permission again.
    PanelGraph graph;
    graph.permission->current = ContactPermission::denied;
    graph.panel->contactsDidChange();
    EXPECT_EQ(graph.session().authorization(), ContactPermission::denied);
    EXPECT_EQ(graph.session().phase(), PanelPhase::closed);
}

TEST(ContactsPanel, GoingBackStopsRecordingThenLeavesTheContactThenCloses) {
    PanelGraph graph;
    int recordingChanges = 0;
    graph.panel->keyboard().setOnRecordingChange([&] { ++recordingChanges; });
    graph.openWith();
    graph.type("a", Contacts::all());
    graph.navigation().move(MoveDirection::next);
    graph.navigation().openSelected();
    graph.actions().setExternalFailure(true);

    graph.panel->keyboard().setRecordingShortcut(true);
    graph.panel->goBack();
    EXPECT_FALSE(graph.panel->keyboard().recordingShortcut());
    EXPECT_EQ(recordingChanges, 2);
    EXPECT_EQ(graph.session().phase(), PanelPhase::detail);

    graph.panel->goBack();
    EXPECT_EQ(graph.session().phase(), PanelPhase::list);
    EXPECT_FALSE(graph.navigation().contact());
    EXPECT_FALSE(graph.actions().externalFailure());
    const auto rerun = graph.awaitSearch(3);
    EXPECT_EQ(rerun.query, "a");
    rerun.answer.answer(Contacts::all());
    PanelGraph::settle(graph.search().task());
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("bruno")); // still the one opened

    QSignalSpy opened(&graph.session(), &ContactSession::phaseChanged);
    graph.panel->open(); // not closed: nothing happens
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(graph.search().query(), "a");
    graph.panel->goBack();
    EXPECT_EQ(graph.session().phase(), PanelPhase::closed);
    EXPECT_EQ(graph.closes, 1);
}

TEST(ContactsPanel, MenuStatusFollowsAccessConflictCopyAndTheSwitch) {
    struct Case {
        const char* name;
        ContactPermission permission;
        bool conflict;
        bool enabled;
        bool copied;
        MenuStatus status;
    };
    const std::vector<Case> cases{
        {"ready", ContactPermission::allowed, false, true, false, MenuStatus::ready},
        {"switched off", ContactPermission::allowed, false, false, false, MenuStatus::disabled},
        {"a conflict, even switched off", ContactPermission::allowed, true, false, false,
         MenuStatus::shortcutConflict},
        {"just copied", ContactPermission::allowed, false, true, true, MenuStatus::copied},
        {"no access comes first", ContactPermission::unknown, true, true, true, MenuStatus::needsPermission},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph(c.permission);
        graph.panel->keyboard().setShortcutConflict(c.conflict);
        auto values = graph.settings->values();
        values.enabled = c.enabled;
        graph.settings->setValues(values);
        if (c.copied)
            graph.actions().showCopied();
        EXPECT_EQ(graph.panel->menuStatus(), c.status);
    }
}

TEST(ContactsPanel, WaitUntilIdleWaitsForWorkStartedWhileItWaited) {
    PanelGraph graph;
    graph.panel->open();
    const auto load = graph.awaitLoad();
    bool idle = false;
    const auto waiting = [](ContactsPanel* panel, bool* idle) -> QCoro::Task<> {
        co_await panel->waitUntilIdle();
        *idle = true;
    }(graph.panel.get(), &idle);

    load.answer.answer();
    const auto first = graph.awaitSearch(1);
    graph.search().update("ana"); // a search of its own, while the load's first one runs
    const auto second = graph.awaitSearch(2);
    first.answer.answer(Contacts::all());
    PanelGraph::settle(graph.panel->loadTask());
    TestSupport::drainEvents();
    EXPECT_FALSE(idle);
    second.answer.answer(std::vector{Contacts::ana()});
    EXPECT_TRUE(TestSupport::waitUntil([&] { return idle; }));
}

TEST(ContactsPanel, AnswersThatArriveAfterThePanelWentTouchNothing) {
    PanelGraph graph;
    graph.openWith();
    graph.navigation().openSelected();
    graph.actions().perform(ContactAction::email, FieldID("ana-mail"), Contacts::ana());
    const auto lookUp = graph.awaitLookUp(1);
    graph.panel->contactsDidChange(); // a reload, still reading when the panel goes
    const auto load = graph.awaitLoad(2);

    graph.panel.reset();
    EXPECT_TRUE(load.cancellation.isCancelled()); // the read stops at its next contact
    lookUp.answer.answer(std::optional(Contacts::ana()));
    load.answer.answer();
    TestSupport::drainEvents(); // the tasks find their owners gone: AddressSanitizer would say otherwise
    EXPECT_TRUE(graph.output->opens.empty());
    EXPECT_EQ(graph.worker->searches.size(), 1u);
}
