#include "Dialcove/Services/ContactSession.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Async/TaskHandle.hpp"
#include "DialcoveCore/UUIDString.hpp"

#include <qcoro/qcorofuture.h>

namespace Dialcove {

using DialcoveCore::RevisionID;
using DialcoveCore::SessionID;

namespace {

// Runs after the session that started it may be gone. A worker that is gone holds no session to end.
QCoro::Task<> endWorkerSession(CancellationToken, std::weak_ptr<ContactSessionService> worker,
                               SessionID session) {
    QFuture<void> ended;
    if (const auto alive = worker.lock())
        ended = alive->end(session);
    else
        co_return;
    co_await ended;
}

} // namespace

ContactSession::ContactSession(std::shared_ptr<ContactSessionService> worker,
                               std::shared_ptr<ContactPermissionService> permission, QObject* parent)
    : QObject(parent), worker_(std::move(worker)), permission_(std::move(permission)),
      authorization_(permission_->status()), revision_(DialcoveCore::freshUUIDString()) {
    assertMainThread();
}

void ContactSession::setPhase(PanelPhase phase) {
    assertMainThread();
    updateProperty(phase_, phase, [this] { emit phaseChanged(); });
}

void ContactSession::setAuthorization(ContactPermission authorization) {
    assertMainThread();
    updateProperty(authorization_, authorization, [this] { emit authorizationChanged(); });
}

const RevisionID& ContactSession::renewRevision() {
    assertMainThread();
    updateProperty(revision_, RevisionID(DialcoveCore::freshUUIDString()),
                   [this] { emit revisionChanged(); });
    return revision_;
}

void ContactSession::setGuardState(DialcoveCore::SessionGuard guard) {
    assertMainThread();
    updateProperty(guard_, std::move(guard), [this] { emit guardStateChanged(); });
}

void ContactSession::setID(std::optional<SessionID> id) {
    updateProperty(id_, std::move(id), [this] { emit idChanged(); });
}

template <typename Change> auto ContactSession::changeGuard(Change&& change) {
    assertMainThread();
    const DialcoveCore::SessionGuard before = guard_;
    auto result = std::forward<Change>(change)(guard_);
    if (guard_ != before)
        emit guardStateChanged();
    return result;
}

bool ContactSession::isCurrent(const SessionID& session, const RevisionID& revision) const {
    assertMainThread();
    return id_ == session && revision_ == revision && phase_ != PanelPhase::closed;
}

bool ContactSession::isCurrentLoad(const SessionID& session, const CancellationToken& token) const {
    assertMainThread();
    return id_ == session && !token.isCancelled();
}

bool ContactSession::isCurrentQuery(const SessionID& session, const RevisionID& revision,
                                    const std::optional<DialcoveCore::QueryTicket>& ticket,
                                    const CancellationToken& token) const {
    return !token.isCancelled() && phase_ == PanelPhase::list && isCurrent(session, revision) &&
           (!ticket || guard_.isCurrentQuery(*ticket));
}

bool ContactSession::isCurrentAction(const SessionID& session, const RevisionID& revision,
                                     const CancellationToken& token) const {
    return !token.isCancelled() && isCurrent(session, revision);
}

std::optional<ContactSession::LoadStart> ContactSession::beginLoad() {
    assertMainThread();
    const SessionID session(DialcoveCore::freshUUIDString());
    setID(session);
    auto ticket = changeGuard([&](DialcoveCore::SessionGuard& guard) {
        return guard.begin(session, revision_, corePermission(authorization_));
    });
    if (!ticket)
        return std::nullopt;
    return LoadStart{session, std::move(*ticket)};
}

bool ContactSession::finishLoad(const DialcoveCore::LoadTicket& ticket, bool succeeded) {
    return changeGuard(
        [&](DialcoveCore::SessionGuard& guard) { return guard.finishLoad(ticket, succeeded); });
}

std::optional<DialcoveCore::QueryTicket> ContactSession::beginQuery() {
    return changeGuard([&](DialcoveCore::SessionGuard& guard) { return guard.beginQuery(revision_); });
}

std::optional<DialcoveCore::ActionTicket> ContactSession::beginAction(const DialcoveCore::Contact& contact,
                                                                      const DialcoveCore::FieldID& field,
                                                                      DialcoveCore::ContactAction action,
                                                                      DialcoveCore::PhonePlan plan,
                                                                      RevisionID attempt) {
    return changeGuard([&](DialcoveCore::SessionGuard& guard) {
        return guard.beginAction(contact, field, action, plan, std::move(attempt));
    });
}

void ContactSession::finishAction(const DialcoveCore::ActionTicket& ticket) {
    changeGuard([&](DialcoveCore::SessionGuard& guard) {
        guard.finishAction(ticket);
        return true;
    });
}

void ContactSession::refreshAuthorization() {
    assertMainThread();
    setAuthorization(permission_->status());
    changeGuard([&](DialcoveCore::SessionGuard& guard) {
        return guard.updatePermission(corePermission(authorization_));
    });
}

void ContactSession::reset() {
    assertMainThread();
    const std::optional<SessionID> ended = id_;
    setID(std::nullopt);
    renewRevision();
    changeGuard([](DialcoveCore::SessionGuard& guard) {
        guard.close();
        return true;
    });
    if (ended)
        startTask(&endWorkerSession, std::weak_ptr<ContactSessionService>(worker_), *ended);
}

} // namespace Dialcove
