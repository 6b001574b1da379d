#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Services/ContactSession.hpp"
#include "tests/Dialcove/Support/FakeContactPermissionService.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"
#include "tests/support/EventLoop.hpp"

#include <QPointer>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <qcoro/qcorofuture.h>

using namespace Dialcove;
using DialcoveCore::ContactsPermission;
using DialcoveCore::RevisionID;
using DialcoveCore::SessionGuard;
using DialcoveCore::SessionPhase;

namespace {

// A session over fakes, with what it was built on.
struct Graph {
    explicit Graph(ContactPermission status = ContactPermission::allowed)
        : worker(std::make_shared<FakeContactSessionService>()),
          permission(std::make_shared<FakeContactPermissionService>(status)),
          session(std::make_unique<ContactSession>(worker, permission)) {}

    // Answers what is still owed and lets the tasks awaiting it end before anything goes.
    ~Graph() {
        worker->failPending();
        permission->failPending();
        TestSupport::drainEvents();
    }

    std::shared_ptr<FakeContactSessionService> worker;
    std::shared_ptr<FakeContactPermissionService> permission;
    std::unique_ptr<ContactSession> session;
};

// A session that is loading, as the panel leaves it once it has asked the worker.
ContactSession::LoadStart startLoading(ContactSession& session) {
    auto start = session.beginLoad();
    EXPECT_TRUE(start);
    session.setPhase(PanelPhase::loading);
    return *start;
}

// The road of a load answer: ask the worker, then apply the answer only while it still counts.
QCoro::Task<> loadAndApply(CancellationToken token, QPointer<ContactSession> session,
                           ContactSession::LoadStart start, RevisionID revision) {
    if (!session)
        co_return;
    QFuture<void> loaded = session->worker()->load(start.session, token);
    co_await loaded;
    if (!session || token.isCancelled() || !session->isCurrent(start.session, revision))
        co_return;
    if (session->finishLoad(start.ticket, true))
        session->setPhase(PanelPhase::list);
}

} // namespace

TEST(ContactSession, IsCurrentOnlyForTheOpenSessionAtItsRevision) {
    struct Case {
        const char* name;
        std::function<void(ContactSession&)> then;
        bool current;
    };
    const std::vector<Case> cases{
        {"open, at its revision", [](ContactSession&) {}, true},
        {"closed", [](ContactSession& s) { s.setPhase(PanelPhase::closed); }, false},
        {"revision renewed", [](ContactSession& s) { s.renewRevision(); }, false},
        {"another session begun", [](ContactSession& s) { s.beginLoad(); }, false},
        {"reset, phase kept", [](ContactSession& s) { s.reset(); }, false},
    };
    for (const Case& c : cases) {
        Graph graph;
        ContactSession& session = *graph.session;
        const auto start = startLoading(session);
        const RevisionID revision = session.revision();
        c.then(session);
        EXPECT_EQ(session.isCurrent(start.session, revision), c.current) << c.name;
    }
}

TEST(ContactSession, BeginsALoadOnlyWithAccessButAlwaysTakesANewIdentifier) {
    for (ContactPermission permission :
         {ContactPermission::unknown, ContactPermission::denied, ContactPermission::restricted}) {
        Graph graph(permission);
        ContactSession& session = *graph.session;
        EXPECT_EQ(session.authorization(), permission);
        EXPECT_FALSE(session.beginLoad());
        ASSERT_TRUE(session.id());
        EXPECT_EQ(session.guardState().phase(), SessionPhase::blocked);
        EXPECT_FALSE(session.guardState().load());
    }

    Graph graph;
    ContactSession& session = *graph.session;
    const auto first = session.beginLoad();
    const auto second = session.beginLoad();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->session, second->session);
    EXPECT_EQ(session.id(), second->session);
    EXPECT_EQ(second->ticket, (DialcoveCore::LoadTicket{second->session, session.revision()}));
    EXPECT_EQ(session.guardState().load(), second->ticket);
    EXPECT_EQ(session.guardState().phase(), SessionPhase::loading);
    // Session identifiers are upper-case UUID texts.
    EXPECT_EQ(second->session.rawValue.size(), 36u);
    EXPECT_EQ(QString::fromStdString(second->session.rawValue).toUpper().toStdString(),
              second->session.rawValue);
    EXPECT_TRUE(graph.worker->loads.empty()); // taking a ticket asks nothing of the worker
}

TEST(ContactSession, ResetEndsTheWorkerSessionOnceFromALaterTurn) {
    Graph graph;
    ContactSession& session = *graph.session;
    session.reset();
    TestSupport::drainEvents();
    EXPECT_TRUE(graph.worker->ends.empty()); // no session, nothing to end

    const auto start = startLoading(session);
    const RevisionID before = session.revision();
    session.reset();
    EXPECT_FALSE(session.id());
    EXPECT_NE(session.revision(), before);
    EXPECT_EQ(session.guardState(), [] {
        SessionGuard closed;
        closed.updatePermission(ContactsPermission::authorized); // the permission stays
        return closed;
    }());
    EXPECT_EQ(session.phase(), PanelPhase::loading); // the phase is the caller's
    EXPECT_TRUE(graph.worker->ends.empty());         // the end is a task of its own

    session.reset();
    TestSupport::drainEvents();
    ASSERT_EQ(graph.worker->ends.size(), 1u);
    EXPECT_EQ(graph.worker->ends[0].session, start.session);

    // The pending end keeps no worker alive, and finds nothing to do once it has gone.
    auto worker = std::make_shared<FakeContactSessionService>();
    const std::weak_ptr<FakeContactSessionService> watched = worker;
    auto other = std::make_unique<ContactSession>(worker, graph.permission);
    other->beginLoad();
    other->reset();
    other.reset();
    worker.reset();
    EXPECT_TRUE(watched.expired());
    TestSupport::drainEvents();
}

TEST(ContactSession, HandsOutQueryAndActionTicketsOnlyWhileReady) {
    Graph graph;
    ContactSession& session = *graph.session;
    const DialcoveCore::Contact ana(
        DialcoveCore::ContactID("ana"), "Ana", "", "", "", "",
        {{DialcoveCore::FieldID("ana-mail"), DialcoveCore::FieldKind::email, "home", "ana@example.com"}});
    const auto act = [&] {
        return session.beginAction(ana, DialcoveCore::FieldID("ana-mail"), DialcoveCore::ContactAction::copy,
                                   DialcoveCore::PhonePlan::other, RevisionID("attempt"));
    };

    const auto failed = startLoading(session);
    EXPECT_FALSE(session.beginQuery()); // loading
    ASSERT_TRUE(session.finishLoad(failed.ticket, false));
    EXPECT_FALSE(session.beginQuery()); // failed
    EXPECT_FALSE(act());

    const auto start = startLoading(session);
    EXPECT_FALSE(session.finishLoad(failed.ticket, true)); // stale: changes nothing
    EXPECT_EQ(session.guardState().phase(), SessionPhase::loading);
    ASSERT_TRUE(session.finishLoad(start.ticket, true));
    session.renewRevision();
    const auto query = session.beginQuery();
    ASSERT_TRUE(query);
    EXPECT_EQ(*query, (DialcoveCore::QueryTicket{start.ticket, session.revision()}));
    EXPECT_EQ(session.guardState().query(), query);

    QSignalSpy guardChanged(&session, &ContactSession::guardStateChanged);
    const auto action = act();
    ASSERT_TRUE(action);
    EXPECT_EQ(session.guardState().action(), action);
    session.finishAction(*action);
    EXPECT_FALSE(session.guardState().action());
    session.finishAction(*action); // no longer held: nothing changes, nothing is said
    EXPECT_EQ(guardChanged.count(), 2);
}

TEST(ContactSession, WithdrawnAccessDropsEveryTicket) {
    Graph graph;
    ContactSession& session = *graph.session;
    const auto start = startLoading(session);
    ASSERT_TRUE(session.finishLoad(start.ticket, true));
    ASSERT_TRUE(session.beginQuery());

    // Read once at creation, then only when refreshed.
    graph.permission->current = ContactPermission::denied;
    EXPECT_EQ(session.authorization(), ContactPermission::allowed);
    QSignalSpy authorizationChanged(&session, &ContactSession::authorizationChanged);
    session.refreshAuthorization();
    EXPECT_EQ(session.authorization(), ContactPermission::denied);
    EXPECT_EQ(authorizationChanged.count(), 1);
    EXPECT_EQ(session.guardState().phase(), SessionPhase::blocked);
    EXPECT_FALSE(session.guardState().load());
    EXPECT_FALSE(session.guardState().query());

    // Access regained does not bring the old load back.
    graph.permission->current = ContactPermission::allowed;
    session.refreshAuthorization();
    EXPECT_FALSE(session.finishLoad(start.ticket, true));
    EXPECT_EQ(session.guardState().permission(), ContactsPermission::authorized);
}

TEST(ContactSession, NotifiesOnlyForAValueThatChanged) {
    Graph graph;
    ContactSession& session = *graph.session;
    QSignalSpy phase(&session, &ContactSession::phaseChanged);
    QSignalSpy authorization(&session, &ContactSession::authorizationChanged);
    QSignalSpy id(&session, &ContactSession::idChanged);
    QSignalSpy revision(&session, &ContactSession::revisionChanged);
    QSignalSpy guard(&session, &ContactSession::guardStateChanged);

    session.setPhase(PanelPhase::closed);
    session.setAuthorization(ContactPermission::allowed);
    session.setGuardState(session.guardState());
    session.refreshAuthorization(); // the same permission, and a guard that already holds it
    session.reset();                // no session: only the revision is new
    EXPECT_EQ(phase.count(), 0);
    EXPECT_EQ(authorization.count(), 0);
    EXPECT_EQ(id.count(), 0);
    EXPECT_EQ(revision.count(), 1);
    EXPECT_EQ(guard.count(), 1); // the guard learnt the permission on that first refresh

    session.setPhase(PanelPhase::list);
    session.beginLoad();
    EXPECT_EQ(phase.count(), 1);
    EXPECT_EQ(id.count(), 1);
    EXPECT_EQ(guard.count(), 2);
    EXPECT_EQ(session.property("phase").value<PanelPhase>(), PanelPhase::list);
}

TEST(ContactSession, ALateLoadAnswerCountsOnlyWhileItsSessionIsCurrent) {
    struct Case {
        const char* name;
        std::function<void(Graph&, const TaskHandle&)> meanwhile;
        bool applied;
    };
    const std::vector<Case> cases{
        {"nothing happened", [](Graph&, const TaskHandle&) {}, true},
        {"session changed",
         [](Graph& g, const TaskHandle&) {
             g.session->reset();
             g.session->beginLoad();
         },
         false},
        {"revision changed", [](Graph& g, const TaskHandle&) { g.session->renewRevision(); }, false},
        {"ticket no longer held",
         [](Graph& g, const TaskHandle&) {
             // Access withdrawn and given back while the load ran: same session and revision,
             // but the guard let its ticket go.
             g.permission->current = ContactPermission::denied;
             g.session->refreshAuthorization();
             g.permission->current = ContactPermission::allowed;
             g.session->refreshAuthorization();
         },
         false},
        {"task cancelled", [](Graph&, const TaskHandle& task) { task.cancel(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Graph graph;
        ContactSession& session = *graph.session;
        const auto start = startLoading(session);
        const TaskHandle task = startTask(&loadAndApply, QPointer(&session), start, session.revision());
        ASSERT_TRUE(TestSupport::waitUntil([&] { return graph.worker->loads.size() == 1; }));
        EXPECT_EQ(graph.worker->loads[0].session, start.session);

        c.meanwhile(graph, task);
        const SessionGuard guardBefore = session.guardState();
        graph.worker->loads[0].answer.answer();
        ASSERT_TRUE(TestSupport::waitUntil([&] { return task.isFinished(); }));

        EXPECT_EQ(graph.worker->loads[0].cancellation.isCancelled(), task.isCancelled());
        if (c.applied) {
            EXPECT_EQ(session.phase(), PanelPhase::list);
            EXPECT_EQ(session.guardState().phase(), SessionPhase::ready);
        } else {
            // Dropped without a trace.
            EXPECT_EQ(session.phase(), PanelPhase::loading);
            EXPECT_EQ(session.guardState(), guardBefore);
        }
    }
}
