#pragma once

#include "Dialcove/Async/CancellationToken.hpp"
#include "Dialcove/Async/WeakHook.hpp"
#include "Dialcove/Services/ContactPermission.hpp"
#include "Dialcove/Services/ContactPermissionService.hpp"
#include "Dialcove/Services/ContactSessionService.hpp"
#include "Dialcove/Services/PanelPhase.hpp"
#include "DialcoveCore/RevisionID.hpp"
#include "DialcoveCore/SessionGuard.hpp"
#include "DialcoveCore/SessionID.hpp"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace Dialcove {

// Where the panel stands: its phase, the last permission read, the worker session in use and the
// current revision, and the guard whose tickets tell a late load, query or action result from a
// current one. It has no flow of its own; the panel's other objects call it and set its phase.
// Main thread only. Every setter notifies only for a value that differs.
class ContactSession : public QObject {
    Q_OBJECT
    Q_PROPERTY(Dialcove::PanelPhase phase READ phase WRITE setPhase NOTIFY phaseChanged)
    Q_PROPERTY(Dialcove::ContactPermission authorization READ authorization WRITE setAuthorization NOTIFY
                   authorizationChanged)

public:
    struct LoadStart {
        DialcoveCore::SessionID session;
        DialcoveCore::LoadTicket ticket;
    };

    // Reads the permission once, here; later reads happen on refreshAuthorization.
    ContactSession(std::shared_ptr<ContactSessionService> worker,
                   std::shared_ptr<ContactPermissionService> permission, QObject* parent = nullptr);

    PanelPhase phase() const { return phase_; }
    void setPhase(PanelPhase phase);
    ContactPermission authorization() const { return authorization_; }
    void setAuthorization(ContactPermission authorization);
    // The session handed to the worker by the last beginLoad; none after reset.
    const std::optional<DialcoveCore::SessionID>& id() const { return id_; }
    const DialcoveCore::RevisionID& revision() const { return revision_; }
    // A fresh revision, so that every answer captured under the old one fails isCurrent.
    const DialcoveCore::RevisionID& renewRevision();
    const DialcoveCore::SessionGuard& guardState() const { return guard_; }
    void setGuardState(DialcoveCore::SessionGuard guard);

    const std::shared_ptr<ContactSessionService>& worker() const { return worker_; }
    const std::shared_ptr<ContactPermissionService>& permission() const { return permission_; }

    // Called when an answer arrives and access is no longer allowed, or an action or the opening of
    // a contact is refused; the panel refreshes. Does nothing until wired.
    std::function<void()> onAccessCheck = noHook();

    // The session is open and still the one of `session` at `revision`.
    bool isCurrent(const DialcoveCore::SessionID& session, const DialcoveCore::RevisionID& revision) const;

    // Whether an answer still counts, one test per kind of work; an answer that fails its test is
    // dropped without a trace. Each also fails once the work's task was cancelled.
    //
    // A load (and the failure of its first search): the session is still the one the load began.
    bool isCurrentLoad(const DialcoveCore::SessionID& session, const CancellationToken& token) const;
    // A search, or a look-up made under its revision: the panel lists, the session and revision are
    // still current, and the guard still holds `ticket` as its query where the search took one (the
    // first search of a load takes none).
    bool isCurrentQuery(const DialcoveCore::SessionID& session, const DialcoveCore::RevisionID& revision,
                        const std::optional<DialcoveCore::QueryTicket>& ticket,
                        const CancellationToken& token) const;
    // An action: the session and revision it began under are still current.
    bool isCurrentAction(const DialcoveCore::SessionID& session, const DialcoveCore::RevisionID& revision,
                         const CancellationToken& token) const;

    // Takes a new session identifier and, when access is allowed, a load ticket for it (none when
    // the guard refuses; it is then blocked and the new identifier stays).
    std::optional<LoadStart> beginLoad();
    // Hands the load's outcome to the guard: false for a stale ticket, which changes nothing.
    bool finishLoad(const DialcoveCore::LoadTicket& ticket, bool succeeded);
    // A ticket for a query at the current revision, while the guard is ready.
    std::optional<DialcoveCore::QueryTicket> beginQuery();
    // A ticket for `action` on a field of `contact`, under the guard's rules; `attempt` names it.
    std::optional<DialcoveCore::ActionTicket> beginAction(const DialcoveCore::Contact& contact,
                                                          const DialcoveCore::FieldID& field,
                                                          DialcoveCore::ContactAction action,
                                                          DialcoveCore::PhonePlan plan,
                                                          DialcoveCore::RevisionID attempt);
    // Clears the guard's current action when it is `ticket`.
    void finishAction(const DialcoveCore::ActionTicket& ticket);

    // Reads the permission again and hands it to the guard; losing access drops every ticket.
    void refreshAuthorization();
    // Forgets the session (every late answer becomes stale) and tells the worker to end it, from a
    // task nobody waits for. Leaves the phase to the caller.
    void reset();

signals:
    void phaseChanged();
    void authorizationChanged();
    void idChanged();
    void revisionChanged();
    void guardStateChanged();

private:
    void setID(std::optional<DialcoveCore::SessionID> id);
    // Applies `change` to the guard and notifies when it changed anything.
    template <typename Change> auto changeGuard(Change&& change);

    const std::shared_ptr<ContactSessionService> worker_;
    const std::shared_ptr<ContactPermissionService> permission_;
    PanelPhase phase_ = PanelPhase::closed;
    ContactPermission authorization_;
    std::optional<DialcoveCore::SessionID> id_;
    DialcoveCore::RevisionID revision_;
    DialcoveCore::SessionGuard guard_;
};

} // namespace Dialcove
