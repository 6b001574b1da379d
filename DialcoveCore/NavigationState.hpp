#pragma once

#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/DetailSelection.hpp"
#include "DialcoveCore/MoveDirection.hpp"
#include "DialcoveCore/PhonePlan.hpp"

#include <optional>
#include <vector>

namespace DialcoveCore {

// Which contact is selected in the result list and, once it is open, which row of its detail.
// Moves are clamped at the ends and never wrap. A call that does not fit the state (no detail open,
// another contact given, an unknown field) changes nothing. The contact and plan arguments are the
// open contact as it is now and the plan in force.
struct NavigationState {
    std::optional<ContactID> selectedContactID;
    std::optional<DetailSelection> detail; // absent while no contact is open

    // The selectable rows of a contact's detail: each action of each field in field order, then edit.
    static std::vector<DetailSelection> selections(const Contact& contact, PhonePlan plan);

    // Keeps `preferred` when it is among `ids`, else selects the first; closes the detail.
    void reconcile(const std::optional<ContactID>& preferred, const std::vector<ContactID>& ids);
    // One step through `ids`; a selection that is not among them goes to the first. Closes the detail.
    void moveContact(MoveDirection direction, const std::vector<ContactID>& ids);
    // Opens on the first field with copy, or on the edit row when there are no fields.
    void openContact(const Contact& contact);
    void closeDetail();
    // To the neighbouring field (the edit row counts as the one after the last), keeping the action
    // when the new field offers it, else the one at the same place in its list, else its last.
    void moveField(MoveDirection direction, const Contact& contact, PhonePlan plan);
    // One row through selections(): across every action of every field, ending on the edit row.
    void moveAction(MoveDirection direction, const Contact& contact, PhonePlan plan);
    // Copy instead when the field does not offer `action`.
    void selectField(const FieldID& fieldID, ContactAction action, const Contact& contact, PhonePlan plan);
    void selectEdit(const ContactID& contactID);
    // Repairs the detail after the contact or the plan changed: an action no longer offered becomes
    // copy, a field that is gone becomes the first field (or the edit row).
    void refresh(const Contact& contact, PhonePlan plan);

    friend bool operator==(const NavigationState&, const NavigationState&) = default;

private:
    bool isOpen(const ContactID& contactID) const { return detail && selectedContactID == contactID; }
    void selectFirstField(const Contact& contact, ContactAction action);
};

} // namespace DialcoveCore
