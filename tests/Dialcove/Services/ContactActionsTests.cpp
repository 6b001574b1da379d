#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/support/QtPrinters.hpp"

using namespace Dialcove;
using DialcoveCore::ActionRequest;
using DialcoveCore::Contact;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactID;
using DialcoveCore::FieldID;
using DialcoveCore::MoveDirection;

namespace {

// A panel with Ana open in the detail, and her contact recorded nowhere yet.
void openAna(PanelGraph& graph) {
    graph.openWith();
    graph.navigation().openSelected();
    ASSERT_EQ(graph.navigation().contact(), Contacts::ana());
    graph.recents->stored.clear();
}

} // namespace

TEST(ContactActions, ALateResultCountsOnlyWhileItsAttemptAndSessionAreCurrent) {
    const auto cases = Meanwhile::sharedWith({
        {"attempt no longer active", [](PanelGraph& g) { g.actions().cancel(); }, false},
        {"task cancelled", [](PanelGraph& g) { g.actions().task()->cancel(); }, false},
    });
    for (const bool atTheLookUp : {true, false}) {
        for (const Meanwhile& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (atTheLookUp ? ", at the look-up" : ", at the opening"));
            PanelGraph graph;
            openAna(graph);
            graph.actions().perform(ContactAction::email, FieldID("ana-mail"), Contacts::ana());
            const TaskHandle task = *graph.actions().task();
            const auto lookUp = graph.awaitLookUp(1);
            if (atTheLookUp)
                c.happen(graph);
            lookUp.answer.answer(std::optional(Contacts::ana()));
            if (!atTheLookUp || c.applied) {
                const auto opening = graph.awaitOpen(1);
                if (!atTheLookUp)
                    c.happen(graph);
                opening.answer.answer(true);
            }
            PanelGraph::settle(task);
            EXPECT_EQ(graph.output->opens.size(), c.applied || !atTheLookUp ? 1u : 0u);
            EXPECT_EQ(graph.closes, c.applied ? 1 : 0);
            EXPECT_EQ(graph.recents->stored,
                      c.applied ? std::vector{ContactID("ana")} : std::vector<ContactID>{});
            EXPECT_FALSE(graph.actions().externalFailure());
            EXPECT_EQ(graph.accessChecks, 0);
        }
    }
}

TEST(ContactActions, AnActionOnAContactThatChangedOrLostAccessIsRefused) {
    struct Case {
        const char* name;
        std::function<void(PanelGraph&)> meanwhile;
        std::optional<Contact> known; // what the worker's session says about Ana
        PanelPhase phase;
    };
    Contact renumbered = Contacts::ana();
    renumbered = {
        renumbered.id(),
        renumbered.formattedName(),
        "",
        "",
        "",
        "",
        {Contacts::field("ana-mobile", DialcoveCore::FieldKind::phone, "mobile", "+55 11 99999-0000")}};
    const std::vector<Case> cases{
        {"the field changed", [](PanelGraph&) {}, renumbered, PanelPhase::detail},
        {"the contact is gone", [](PanelGraph&) {}, std::nullopt, PanelPhase::detail},
        {"access withdrawn", [](PanelGraph& g) { g.permission->current = ContactPermission::denied; },
         Contacts::ana(), PanelPhase::permission},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        openAna(graph);
        graph.actions().perform(ContactAction::whatsapp, FieldID("ana-mobile"), Contacts::ana());
        const TaskHandle task = *graph.actions().task();
        graph.awaitLookUp(1).answer.answer(c.known);
        c.meanwhile(graph);
        PanelGraph::settle(task);
        EXPECT_TRUE(graph.output->opens.empty());
        EXPECT_FALSE(graph.actions().inProgress());
        EXPECT_FALSE(graph.session().guardState().action());
        EXPECT_EQ(graph.accessChecks, 1);
        EXPECT_EQ(graph.session().phase(), c.phase);
        EXPECT_EQ(graph.closes, 0);
    }

    // Withdrawn before the task even ran: it asks the worker nothing.
    PanelGraph graph;
    openAna(graph);
    graph.actions().perform(ContactAction::copy, FieldID("ana-mail"), Contacts::ana());
    graph.permission->current = ContactPermission::denied;
    PanelGraph::settle(graph.actions().task());
    EXPECT_TRUE(graph.worker->lookUps.empty());
    EXPECT_EQ(graph.session().phase(), PanelPhase::permission);
}

TEST(ContactActions, TheKeysActOnTheSelection) {
    struct Case {
        const char* name;
        std::function<void(PanelGraph&)> press;
        std::optional<ActionRequest> request; // none: nothing starts
        bool card = false;
    };
    const auto inDetail = [](const char* field, ContactAction action) {
        return [=](PanelGraph& g) {
            g.navigation().openSelected();
            g.navigation().selectField(FieldID(field), action);
        };
    };
    const std::vector<Case> cases{
        {"copy in the list: the first number of the selected contact",
         [](PanelGraph& g) {
             g.navigation().move(MoveDirection::next);
             g.navigation().move(MoveDirection::next); // Carla, two numbers
             g.actions().copySelection();
         },
         ActionRequest::copy("+55 21 3456-7890")},
        {"copy in the detail: the selected field, an e-mail address",
         [&](PanelGraph& g) {
             inDetail("ana-mail", ContactAction::email)(g);
             g.actions().copySelection();
         },
         ActionRequest::copy("ana@example.com")},
        {"Return outside the detail opens the contact",
         [](PanelGraph& g) { g.actions().performSelectedAction(); }, std::nullopt},
        {"Return in the detail runs the selected action",
         [&](PanelGraph& g) {
             inDetail("ana-mobile", ContactAction::call)(g);
             g.actions().performSelectedAction();
         },
         ActionRequest::call("+5511912345678")},
        {"Return on the edit row opens the card",
         [](PanelGraph& g) {
             g.navigation().openSelected();
             for (int i = 0; i < 9; ++i)
                 g.navigation().move(MoveDirection::next);
             g.actions().performSelectedAction();
         },
         std::nullopt, true},
        {"Control-Return on a number opens the chat",
         [&](PanelGraph& g) {
             inDetail("ana-mobile", ContactAction::copy)(g);
             g.actions().openWhatsApp();
         },
         ActionRequest::whatsapp("+5511912345678")},
        {"Control-Return on an e-mail address does nothing",
         [&](PanelGraph& g) {
             inDetail("ana-mail", ContactAction::email)(g);
             g.actions().openWhatsApp();
         },
         std::nullopt},
        {"two quick presses start one action",
         [&](PanelGraph& g) {
             inDetail("ana-mail", ContactAction::email)(g);
             g.actions().performSelectedAction();
             g.actions().performSelectedAction();
         },
         ActionRequest::email("ana@example.com")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGraph graph;
        graph.openWith();
        c.press(graph);
        TestSupport::drainEvents();
        EXPECT_EQ(graph.beeps, 0);
        EXPECT_EQ(graph.worker->lookUps.size(), c.request || c.card ? 1u : 0u);
        if (c.request || c.card) {
            const auto lookUp = graph.worker->lookUps[0];
            const auto all = Contacts::all();
            const auto known = std::find_if(
                all.begin(), all.end(), [&](const Contact& contact) { return contact.id() == lookUp.id; });
            ASSERT_NE(known, all.end());
            lookUp.answer.answer(std::optional(*known));
        }
        if (c.request && c.request->kind == ActionRequest::Kind::copy) {
            ASSERT_TRUE(TestSupport::waitUntil([&] { return !graph.output->copies.empty(); }));
            EXPECT_EQ(graph.output->copies, std::vector{c.request->text});
        } else if (c.request) {
            EXPECT_EQ(graph.awaitOpen(1).request, *c.request);
        } else if (c.card) {
            EXPECT_EQ(PanelGraph::awaitCall(graph.output->cards, 1).id, ContactID("ana"));
        } else {
            EXPECT_EQ(graph.session().phase(), PanelPhase::detail); // Ana is open, nothing runs
        }
        TestSupport::drainEvents();
        const bool opens = c.request && c.request->kind != ActionRequest::Kind::copy;
        EXPECT_EQ(graph.output->opens.size(), opens ? 1u : 0u);
    }
}

TEST(ContactActions, ACopyShowsCopiedForAFullDelayAfterTheLatestCopy) {
    PanelGraph graph;
    const auto copy = [&] {
        graph.openWith();
        graph.actions().copySelection();
        EXPECT_TRUE(graph.actions().inProgress());
        graph.awaitLookUp(graph.worker->lookUps.size() + 1).answer.answer(std::optional(Contacts::ana()));
        ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.closes > 0; }));
        graph.closes = 0;
    };

    copy();
    EXPECT_EQ(graph.output->copies, std::vector<std::string>{"+55 11 91234-5678"});
    EXPECT_EQ(graph.recents->stored, std::vector{ContactID("ana")});
    EXPECT_TRUE(graph.actions().copied());
    EXPECT_EQ(graph.panel->menuStatus(),
              DialcoveCore::MenuStatus::copied); // the panel closed, the icon shows it
    const auto first = PanelGraph::awaitCall(graph.sleeps.calls, 1);
    EXPECT_EQ(first.delay, std::chrono::milliseconds(1500));

    copy();
    const auto second = PanelGraph::awaitCall(graph.sleeps.calls, 2);
    first.wake.answer();
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.actions().copied()); // the second copy restarted the time
    second.wake.answer();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return !graph.actions().copied(); }));

    // A clipboard that refuses the text is a failure like any other.
    graph.output->copySucceeds = false;
    graph.openWith();
    graph.actions().copySelection();
    graph.awaitLookUp(3).answer.answer(std::optional(Contacts::ana()));
    PanelGraph::settle(graph.actions().task());
    EXPECT_TRUE(graph.actions().externalFailure());
    EXPECT_FALSE(graph.actions().copied());
    EXPECT_EQ(graph.closes, 0);
}

TEST(ContactActions, TheCopiedFeedbacksOwnTimerGoesWithThePanel) {
    auto worker = std::make_shared<FakeContactSessionService>();
    auto panel = makePanel(
        std::make_shared<ContactSettings>(nullptr), worker, std::make_shared<FakeContactPermissionService>(),
        std::make_shared<FakeContactOutputService>(), std::make_shared<FakeContactRecentStorage>());
    panel->actions().showCopied();
    const TaskHandle feedback = *panel->actions().feedbackTask();
    TestSupport::drainEvents();
    EXPECT_TRUE(panel->actions().copied());
    EXPECT_FALSE(feedback.isFinished());
    panel.reset();
    TestSupport::drainEvents();
    EXPECT_TRUE(feedback.isFinished()); // it does not wait out the 1.5 seconds for nobody
}
