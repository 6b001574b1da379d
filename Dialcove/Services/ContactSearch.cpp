#include "Dialcove/Services/ContactSearch.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Services/ContactActions.hpp"
#include "Dialcove/Services/ContactNavigation.hpp"
#include "Dialcove/Services/ContactRecents.hpp"
#include "Dialcove/Services/ContactSession.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "Dialcove/Services/FailureText.hpp"
#include "DialcoveCore/RecentContacts.hpp"

#include <QLoggingCategory>
#include <qcoro/qcorofuture.h>

using DialcoveCore::Contact;
using DialcoveCore::ContactID;

namespace Dialcove {

ContactSearch::ContactSearch(ContactSession& session, ContactNavigation& navigation, ContactActions& actions,
                             ContactRecents& recents, QObject* parent)
    : QObject(parent), session_(session), navigation_(navigation), actions_(actions), recents_(recents) {
    assertMainThread();
}

void ContactSearch::setQuery(QString query) {
    updateProperty(query_, std::move(query), [this] { emit queryChanged(); });
}

void ContactSearch::setTask(std::optional<TaskHandle> task) {
    updateProperty(task_, std::move(task), [this] { emit taskChanged(); });
}

void ContactSearch::update(const QString& text) {
    assertMainThread();
    const PanelPhase phase = session_.phase();
    if (phase != PanelPhase::list && phase != PanelPhase::loading)
        return;
    if (!session_.id())
        return;
    const DialcoveCore::SessionID session = *session_.id();
    const std::optional<ContactID> preferred =
        text == query_ ? navigation_.state().selectedContactID : std::nullopt;

    actions_.cancel();
    setQuery(text);
    const DialcoveCore::RevisionID revision = session_.renewRevision();
    if (task_)
        task_->cancel();

    if (session_.phase() != PanelPhase::list)
        return; // the load searches for the query once it is done
    if (auto ticket = session_.beginQuery())
        setTask(startTask(&ContactSearch::run, QPointer(this),
                          Run{session, text, revision, std::move(*ticket), preferred}));
}

void ContactSearch::clearRecents() {
    assertMainThread();
    DialcoveCore::RecentContacts recents(recents_.ids());
    recents.clear();
    recents_.setIds(recents.ids());
    if (session_.phase() == PanelPhase::list)
        update(query_);
}

void ContactSearch::cancelTask() {
    assertMainThread();
    if (task_)
        task_->cancel();
    setTask(std::nullopt);
}

void ContactSearch::clearQuery() {
    assertMainThread();
    setQuery(QString());
}

QCoro::Task<ContactSearch::Outcome> ContactSearch::answer(CancellationToken token,
                                                          QPointer<ContactSearch> self, Run run) {
    if (!self)
        co_return Outcome{};
    const auto recentIDs = self->recents_.ids();
    auto asking = self->session_.worker()->search(run.session, run.query, recentIDs, token);
    std::optional<std::vector<Contact>> results;
    std::exception_ptr failure;
    try {
        results = co_await asking;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self)
        co_return Outcome{};
    if (failure)
        co_return Outcome{Outcome::Kind::failed, failureText(failure)};

    ContactSession& session = self->session_;
    if (!session.isCurrentQuery(run.session, run.revision, run.ticket, token))
        co_return Outcome{};
    if (session.permission()->status() != ContactPermission::allowed) {
        session.onAccessCheck();
        co_return Outcome{};
    }
    std::optional<ContactID> preferred = run.preferred;
    if (!preferred && !results->empty())
        preferred = results->front().id();
    self->navigation_.setResults(std::move(*results), preferred);
    co_return Outcome{Outcome::Kind::shown, {}};
}

QCoro::Task<> ContactSearch::run(CancellationToken token, QPointer<ContactSearch> self, Run run) {
    const Outcome outcome = co_await answer(token, self, run);
    if (!self || outcome.kind != Outcome::Kind::failed)
        co_return;
    // Only a failure of the query still on screen counts; the worker's refusal of a stale or
    // cancelled call is one of those that do not.
    ContactSession& session = self->session_;
    if (!session.isCurrentQuery(run.session, run.revision, run.ticket, token))
        co_return;
    qCWarning(lcSearch) << "search failed:" << outcome.failure;
    session.setPhase(PanelPhase::failure);
    self->navigation_.reset();
}

} // namespace Dialcove
