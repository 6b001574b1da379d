#pragma once

#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/ContactField.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "DialcoveCore/LoadTicket.hpp"
#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/RevisionID.hpp"

namespace DialcoveCore {

// Names an action on a field, with the field and the phone plan as they were when it began, so a
// later change of either makes it stale.
struct ActionTicket {
    LoadTicket load;
    RevisionID revisionID; // the action's own revision
    ContactID contactID;
    ContactField field;
    ContactAction action = ContactAction::copy;
    PhonePlan plan = PhonePlan::other;

    friend bool operator==(const ActionTicket&, const ActionTicket&) = default;
};

} // namespace DialcoveCore
