#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QSignalSpy>

using namespace Dialcove;
using Contacts::idsOf;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactID;
using DialcoveCore::DetailSelection;
using DialcoveCore::FieldID;
using DialcoveCore::MoveDirection;

namespace {

// Counts the navigation's two hooks on top of the panel's own wiring.
struct HookCounts {
    explicit HookCounts(ContactNavigation& navigation) {
        navigation.onMove = [&, wired = navigation.onMove] {
            ++moves;
            wired();
        };
        navigation.onOpen = [&, wired = navigation.onOpen] {
            ++opens;
            wired();
        };
    }
    int moves = 0;
    int opens = 0;
};

} // namespace

TEST(ContactNavigation, OpeningTheSelectedContactShowsItAndRecordsIt) {
    PanelGraph graph;
    graph.recents->stored = {ContactID("bruno")};
    graph.openWith();
    HookCounts hooks(graph.navigation());
    graph.search().update("c"); // still running when the contact opens
    const TaskHandle search = *graph.search().task();
    const auto revision = graph.session().revision();

    graph.navigation().openSelected();
    EXPECT_EQ(graph.session().phase(), PanelPhase::detail);
    EXPECT_EQ(graph.navigation().contact(), Contacts::ana());
    EXPECT_EQ(graph.navigation().state().detail,
              DetailSelection::field(FieldID("ana-mobile"), ContactAction::copy));
    EXPECT_EQ(graph.navigation().selectedField(), Contacts::ana().fields()[0]);
    EXPECT_EQ(graph.recents->stored, (std::vector{ContactID("ana"), ContactID("bruno")}));
    EXPECT_NE(graph.session().revision(), revision);
    EXPECT_EQ(hooks.opens, 1);
    EXPECT_EQ(hooks.moves, 1);
    EXPECT_TRUE(search.isCancelled());
    EXPECT_FALSE(graph.search().task());
    graph.awaitSearch(2).answer.answer(std::vector{Contacts::carla()});
    PanelGraph::settle(search);
    EXPECT_EQ(graph.navigation().results().size(), 3u); // that answer never lands on the detail

    // Back in the list, the contact that was open stays selected.
    graph.navigation().backToList();
    EXPECT_EQ(graph.session().phase(), PanelPhase::list);
    EXPECT_FALSE(graph.navigation().contact());
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("ana"));
    EXPECT_FALSE(graph.navigation().state().detail);
    EXPECT_FALSE(graph.navigation().selectedField());
}

TEST(ContactNavigation, OpeningWithNothingToOpenAsksForAnAccessCheck) {
    struct Case {
        const char* name;
        std::function<void(PanelGraph&)> setUp;
    };
    const std::vector<Case> cases{
        {"loading", [](PanelGraph& g) { g.panel->open(); }},
        {"an empty list", [](PanelGraph& g) { g.openWith({}); }},
        {"a selection no longer listed",
         [](PanelGraph& g) {
             g.openWith();
             g.navigation().setState({ContactID("gone"), std::nullopt});
         }},
        {"access withdrawn",
         [](PanelGraph& g) {
             g.openWith();
             g.permission->current = ContactPermission::denied;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        c.setUp(graph);
        HookCounts hooks(graph.navigation());
        const PanelPhase before = graph.session().phase();
        graph.navigation().openSelected();
        EXPECT_EQ(graph.accessChecks, 1);
        EXPECT_FALSE(graph.navigation().contact());
        EXPECT_EQ(hooks.opens + hooks.moves, 0);
        EXPECT_TRUE(graph.recents->stored.empty());
        // The refresh it leads to moves only a panel that lost its access.
        EXPECT_EQ(graph.session().phase(),
                  graph.permission->current == ContactPermission::allowed ? before : PanelPhase::permission);
    }
}

TEST(ContactNavigation, MovesApplyOnlyWhereTheyFitAndAlwaysWarnTheActionFirst) {
    PanelGraph graph;
    graph.panel->open();
    HookCounts hooks(graph.navigation());
    graph.navigation().move(MoveDirection::next); // loading: only the warning
    graph.navigation().moveAction(MoveDirection::next);
    EXPECT_EQ(hooks.moves, 1);
    EXPECT_FALSE(graph.navigation().state().selectedContactID);
    graph.awaitLoad().answer.answer();
    graph.awaitSearch(1).answer.answer(Contacts::all());
    PanelGraph::settle(graph.panel->loadTask());

    for (int i = 0; i < 4; ++i)
        graph.navigation().move(MoveDirection::next);
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("carla")); // stops at the last
    graph.navigation().selectContact(ContactID("bruno"));
    EXPECT_EQ(graph.navigation().state().selectedContactID, ContactID("bruno"));
    graph.navigation().selectField(FieldID("bruno-mail"), ContactAction::email); // nothing open
    EXPECT_FALSE(graph.navigation().state().detail);
    EXPECT_EQ(hooks.moves, 6);

    graph.navigation().openSelected();
    graph.navigation().selectField(FieldID("bruno-mail"), ContactAction::whatsapp); // not offered
    EXPECT_EQ(graph.navigation().state().detail,
              DetailSelection::field(FieldID("bruno-mail"), ContactAction::copy));
    graph.navigation().moveAction(MoveDirection::next);
    EXPECT_EQ(graph.navigation().state().detail,
              DetailSelection::field(FieldID("bruno-mail"), ContactAction::email));
    graph.navigation().move(MoveDirection::next);
    EXPECT_EQ(graph.navigation().state().detail, DetailSelection::edit());
    EXPECT_EQ(hooks.moves, 10);
}

TEST(ContactNavigation, NewResultsKeepTheSelectionWhenListed) {
    struct Case {
        const char* name;
        std::vector<DialcoveCore::Contact> results;
        std::optional<ContactID> keep;
        std::optional<ContactID> selected;
    };
    const std::vector<Case> cases{
        {"kept when listed", Contacts::all(), ContactID("carla"), ContactID("carla")},
        {"the first when not listed", Contacts::all(), ContactID("gone"), ContactID("ana")},
        {"the first without one to keep", Contacts::all(), std::nullopt, ContactID("ana")},
        {"nothing in an empty list", {}, ContactID("ana"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.openWith();
        graph.navigation().openSelected();
        graph.navigation().setResults(c.results, c.keep);
        EXPECT_EQ(idsOf(graph.navigation().results()), idsOf(c.results));
        EXPECT_EQ(graph.navigation().state().selectedContactID, c.selected);
        EXPECT_FALSE(graph.navigation().state().detail);
    }

    // Emptying always tells the views, even an empty list.
    PanelGraph graph;
    QSignalSpy results(&graph.navigation(), &ContactNavigation::resultsChanged);
    graph.navigation().reset();
    graph.navigation().setResults({}, std::nullopt);
    EXPECT_EQ(results.count(), 1);
}
