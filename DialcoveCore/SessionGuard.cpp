#include "DialcoveCore/SessionGuard.hpp"

#include "DialcoveCore/FieldActions.hpp"

namespace DialcoveCore {

std::optional<LoadTicket> SessionGuard::begin(SessionID session, RevisionID revision,
                                              ContactsPermission permission) {
    permission_ = permission;
    query_.reset();
    action_.reset();
    if (permission != ContactsPermission::authorized) {
        load_.reset();
        phase_ = SessionPhase::blocked;
        return std::nullopt;
    }
    load_ = LoadTicket{std::move(session), std::move(revision)};
    phase_ = SessionPhase::loading;
    return load_;
}

std::optional<LoadTicket> SessionGuard::reload(RevisionID revision) {
    if (!load_ || permission_ != ContactsPermission::authorized)
        return std::nullopt;
    query_.reset();
    action_.reset();
    load_->revisionID = std::move(revision);
    phase_ = SessionPhase::loading;
    return load_;
}

bool SessionGuard::finishLoad(const LoadTicket& ticket, bool succeeded) {
    if (phase_ != SessionPhase::loading || load_ != ticket || permission_ != ContactsPermission::authorized)
        return false;
    phase_ = succeeded ? SessionPhase::ready : SessionPhase::failed;
    return true;
}

std::optional<QueryTicket> SessionGuard::beginQuery(RevisionID revision) {
    if (!isReady())
        return std::nullopt;
    query_ = QueryTicket{*load_, std::move(revision)};
    return query_;
}

bool SessionGuard::isCurrentQuery(const QueryTicket& ticket) const {
    return phase_ == SessionPhase::ready && query_ == ticket && load_ == ticket.load;
}

std::optional<ActionTicket> SessionGuard::beginAction(const Contact& contact, const FieldID& fieldID,
                                                      ContactAction action, PhonePlan plan,
                                                      RevisionID revision) {
    if (!isReady())
        return std::nullopt;
    auto field = contact.field(fieldID);
    if (!field || !FieldActions::request(action, *field, plan))
        return std::nullopt;
    action_ = ActionTicket{*load_, std::move(revision), contact.id(), std::move(*field), action, plan};
    return action_;
}

std::optional<ActionRequest> SessionGuard::actionRequest(const ActionTicket& ticket, const Contact* contact,
                                                         PhonePlan plan) const {
    if (phase_ != SessionPhase::ready || permission_ != ContactsPermission::authorized)
        return std::nullopt;
    if (load_ != ticket.load || action_ != ticket || ticket.plan != plan)
        return std::nullopt;
    if (contact == nullptr || contact->id() != ticket.contactID)
        return std::nullopt;
    const auto field = contact->field(ticket.field.id);
    if (field != ticket.field)
        return std::nullopt;
    return FieldActions::request(ticket.action, *field, plan);
}

void SessionGuard::finishAction(const ActionTicket& ticket) {
    if (action_ == ticket)
        action_.reset();
}

bool SessionGuard::updatePermission(ContactsPermission permission) {
    permission_ = permission;
    if (permission == ContactsPermission::authorized)
        return false;
    const bool hadLoad = load_.has_value();
    load_.reset();
    query_.reset();
    action_.reset();
    if (phase_ != SessionPhase::closed)
        phase_ = SessionPhase::blocked;
    return hadLoad;
}

void SessionGuard::close() {
    load_.reset();
    query_.reset();
    action_.reset();
    phase_ = SessionPhase::closed;
}

} // namespace DialcoveCore
