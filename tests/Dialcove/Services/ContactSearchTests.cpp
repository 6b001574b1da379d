#include "Dialcove/Async/CancellationError.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/support/QtPrinters.hpp"

#include <stdexcept>

using namespace Dialcove;
using Contacts::idsOf;
using DialcoveCore::ContactID;
using DialcoveCore::MoveDirection;

TEST(ContactSearch, ALateAnswerReachesTheListOnlyWhileItIsTheCurrentQuery) {
    const auto cases = Meanwhile::sharedWith({
        {"ticket no longer held", [](PanelGraph& g) { g.dropTickets(); }, false},
        {"task cancelled", [](PanelGraph& g) { g.search().cancelTask(); }, false},
        {"phase left the list", [](PanelGraph& g) { g.session().setPhase(PanelPhase::failure); }, false},
    });
    for (const Meanwhile& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.openWith();
        graph.search().update("bru");
        const auto search = graph.awaitSearch(2);
        const TaskHandle task = *graph.search().task();
        c.happen(graph);
        search.answer.answer(std::vector{Contacts::bruno()});
        PanelGraph::settle(task);
        EXPECT_EQ(idsOf(graph.navigation().results()),
                  c.applied ? std::vector{ContactID("bruno")} : idsOf(Contacts::all()));
        EXPECT_EQ(graph.accessChecks, 0);
    }

    // Access withdrawn meanwhile: nothing is shown, and the panel's refresh shows why.
    PanelGraph graph;
    graph.openWith();
    graph.search().update("bru");
    const auto search = graph.awaitSearch(2);
    graph.permission->current = ContactPermission::denied;
    search.answer.answer(std::vector{Contacts::bruno()});
    ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.accessChecks == 1; }));
    EXPECT_EQ(graph.session().phase(), PanelPhase::permission);
    EXPECT_TRUE(graph.navigation().results().empty()); // emptied by stopping, never Bruno
}

TEST(ContactSearch, OnlyAFailureOfTheCurrentQueryShowsTheFailure) {
    struct Case {
        const char* name;
        std::function<void(PanelGraph&)> meanwhile;
        bool refusal; // the worker's CancellationError, else a failure of its own
        bool shown;
    };
    const std::vector<Case> cases{
        {"current", [](PanelGraph&) {}, false, true},
        {"the worker's refusal counts alike", [](PanelGraph&) {}, true, true},
        {"revision changed", [](PanelGraph& g) { g.session().renewRevision(); }, false, false},
        {"task cancelled", [](PanelGraph& g) { g.search().cancelTask(); }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.openWith();
        graph.search().update("x");
        const auto search = graph.awaitSearch(2);
        const TaskHandle task = *graph.search().task();
        c.meanwhile(graph);
        if (c.refusal)
            search.answer.fail(CancellationError());
        else
            search.answer.fail(std::runtime_error("index gone"));
        PanelGraph::settle(task);
        EXPECT_EQ(graph.session().phase(), c.shown ? PanelPhase::failure : PanelPhase::list);
        EXPECT_EQ(graph.navigation().results().empty(), c.shown);
    }
}

TEST(ContactSearch, AnEditSearchesOnlyInTheListAndIsStoredWhileLoading) {
    for (const PanelPhase phase :
         {PanelPhase::detail, PanelPhase::failure, PanelPhase::permission, PanelPhase::closed}) {
        SCOPED_TRACE(static_cast<int>(phase));
        PanelGraph graph;
        graph.openWith();
        graph.session().setPhase(phase);
        const auto revision = graph.session().revision();
        graph.search().update("ana");
        EXPECT_EQ(graph.search().query(), "");
        EXPECT_EQ(graph.session().revision(), revision);
        TestSupport::drainEvents();
        EXPECT_EQ(graph.worker->searches.size(), 1u);
    }

    PanelGraph graph;
    graph.panel->open();
    graph.awaitLoad();
    const auto revision = graph.session().revision();
    graph.search().update("ana");
    EXPECT_EQ(graph.search().query(), "ana");
    EXPECT_NE(graph.session().revision(), revision);
    EXPECT_FALSE(graph.search().task());
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.worker->searches.empty());
}

TEST(ContactSearch, TheSameTextKeepsTheSelectionAndTheLatestOfTwoEditsWins) {
    PanelGraph graph;
    graph.openWith();
    graph.navigation().move(MoveDirection::next); // Bruno
    graph.type("", Contacts::all());
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("bruno"));
    graph.type("r", Contacts::all());
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("ana"));

    // Two quick edits: the first is cancelled, and its answer never shows.
    graph.search().update("ca");
    const auto first = graph.awaitSearch(4);
    const TaskHandle overtaken = *graph.search().task();
    graph.search().update("car");
    EXPECT_TRUE(overtaken.isCancelled());
    EXPECT_TRUE(first.cancellation.isCancelled());
    const auto second = graph.awaitSearch(5);
    second.answer.answer(std::vector{Contacts::carla()});
    PanelGraph::settle(graph.search().task());
    first.answer.answer(std::vector{Contacts::ana()});
    PanelGraph::settle(overtaken);
    EXPECT_EQ(idsOf(graph.navigation().results()), std::vector{ContactID("carla")});
}

TEST(ContactSearch, ClearingTheRecentsListsThemAgainOnlyInTheList) {
    PanelGraph graph;
    graph.recents->stored = {ContactID("ana"), ContactID("carla")};
    graph.openWith({Contacts::ana(), Contacts::carla()});
    graph.search().clearRecents();
    EXPECT_TRUE(graph.recents->stored.empty());
    const auto rerun = graph.awaitSearch(2);
    EXPECT_EQ(rerun.query, "");
    EXPECT_TRUE(rerun.recentIDs.empty());
    rerun.answer.answer(std::vector<DialcoveCore::Contact>{});
    PanelGraph::settle(graph.search().task());
    EXPECT_TRUE(graph.navigation().results().empty());
    EXPECT_FALSE(graph.navigation().state().selectedContactID);

    // In a contact: the storage is emptied, nothing is searched.
    graph.type("ana", std::vector{Contacts::ana()});
    graph.navigation().openSelected();
    EXPECT_FALSE(graph.recents->stored.empty());
    graph.search().clearRecents();
    EXPECT_TRUE(graph.recents->stored.empty());
    TestSupport::drainEvents();
    EXPECT_EQ(graph.worker->searches.size(), 3u);
}
