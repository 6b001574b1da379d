#pragma once

#include "DialcoveCore/ActionRequest.hpp"
#include "DialcoveCore/ActionTicket.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactsPermission.hpp"
#include "DialcoveCore/LoadTicket.hpp"
#include "DialcoveCore/QueryTicket.hpp"
#include "DialcoveCore/SessionPhase.hpp"

#include <optional>

namespace DialcoveCore {

// Decides whether the result of asynchronous work still counts. Work takes a ticket before it
// starts; when it finishes its ticket is compared with the current ones, and a stale result is
// answered with no ticket, false or no request, leaving the guard as it was. The identifiers are
// made by the caller, fresh for each call that takes one.
class SessionGuard {
public:
    SessionPhase phase() const { return phase_; }
    const std::optional<LoadTicket>& load() const { return load_; }
    const std::optional<QueryTicket>& query() const { return query_; }
    const std::optional<ActionTicket>& action() const { return action_; }
    ContactsPermission permission() const { return permission_; }

    // Starts a session from any phase, dropping queries and actions: loading with a new load ticket
    // when authorized, else blocked with none.
    std::optional<LoadTicket> begin(SessionID session, RevisionID revision, ContactsPermission permission);
    // Loads again within the session under a new revision; needs a load ticket and authorization.
    std::optional<LoadTicket> reload(RevisionID revision);
    // Takes the current load's result: ready or failed. False for a stale ticket or out of loading.
    bool finishLoad(const LoadTicket& ticket, bool succeeded);

    // Only while ready. A refused query leaves the current query ticket in place.
    std::optional<QueryTicket> beginQuery(RevisionID revision);
    bool isCurrentQuery(const QueryTicket& ticket) const;

    // Only while ready, for a field of `contact` that offers `action` under `plan`; a refusal leaves
    // the current action ticket in place.
    std::optional<ActionTicket> beginAction(const Contact& contact, const FieldID& fieldID,
                                            ContactAction action, PhonePlan plan, RevisionID revision);
    // The request of a still-current action: the guard ready and authorized, the ticket the current
    // one, the plan unchanged, and `contact` (as it is now; null when gone) still holding the field
    // exactly as it was.
    std::optional<ActionRequest> actionRequest(const ActionTicket& ticket, const Contact* contact,
                                               PhonePlan plan) const;
    // Drops the action ticket when it is `ticket`.
    void finishAction(const ActionTicket& ticket);

    // Stores the authorization. Losing it drops every ticket and blocks an open session (a closed
    // guard stays closed); regaining it changes nothing else. True when a load ticket was dropped.
    bool updatePermission(ContactsPermission permission);
    // Drops every ticket; the permission stays.
    void close();

    friend bool operator==(const SessionGuard&, const SessionGuard&) = default;

private:
    bool isReady() const { return phase_ == SessionPhase::ready && load_.has_value(); }

    SessionPhase phase_ = SessionPhase::closed;
    std::optional<LoadTicket> load_;
    std::optional<QueryTicket> query_;
    std::optional<ActionTicket> action_;
    ContactsPermission permission_ = ContactsPermission::notDetermined;
};

} // namespace DialcoveCore
