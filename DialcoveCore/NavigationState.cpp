#include "DialcoveCore/NavigationState.hpp"

#include "DialcoveCore/FieldActions.hpp"

#include <algorithm>

namespace DialcoveCore {

namespace {

template <typename T> std::optional<std::size_t> indexOf(const std::vector<T>& items, const T& item) {
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? std::nullopt
                                : std::optional(static_cast<std::size_t>(found - items.begin()));
}

std::optional<std::size_t> fieldIndex(const Contact& contact, const FieldID& id) {
    const auto& fields = contact.fields();
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const ContactField& f) { return f.id == id; });
    return found == fields.end() ? std::nullopt
                                 : std::optional(static_cast<std::size_t>(found - fields.begin()));
}

bool offers(const std::vector<ContactAction>& actions, ContactAction action) {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

// On arriving at a field: the same action when it offers it, else the one in the same place of its
// list, else its last one.
ContactAction actionOnArrival(const std::vector<ContactAction>& offered, ContactAction current,
                              std::size_t slot) {
    if (offers(offered, current))
        return current;
    if (offered.empty())
        return ContactAction::copy;
    return slot < offered.size() ? offered[slot] : offered.back();
}

// One step through `count` rows, clamped at both ends.
std::size_t stepped(std::size_t position, MoveDirection direction, std::size_t count) {
    if (direction == MoveDirection::next)
        return std::min(position + 1, count - 1);
    return position == 0 ? 0 : position - 1;
}

} // namespace

std::vector<DetailSelection> NavigationState::selections(const Contact& contact, PhonePlan plan) {
    std::vector<DetailSelection> rows;
    for (const ContactField& field : contact.fields())
        for (ContactAction action : FieldActions::make(field, plan))
            rows.push_back(DetailSelection::field(field.id, action));
    rows.push_back(DetailSelection::edit());
    return rows;
}

void NavigationState::reconcile(const std::optional<ContactID>& preferred,
                                const std::vector<ContactID>& ids) {
    if (preferred && indexOf(ids, *preferred))
        selectedContactID = preferred;
    else
        selectedContactID = ids.empty() ? std::nullopt : std::optional(ids.front());
    detail.reset();
}

void NavigationState::moveContact(MoveDirection direction, const std::vector<ContactID>& ids) {
    detail.reset();
    if (ids.empty()) {
        selectedContactID.reset();
        return;
    }
    const auto current = selectedContactID ? indexOf(ids, *selectedContactID) : std::nullopt;
    selectedContactID = ids[current ? stepped(*current, direction, ids.size()) : 0];
}

void NavigationState::openContact(const Contact& contact) {
    selectedContactID = contact.id();
    if (contact.fields().empty())
        detail = DetailSelection::edit();
    else
        detail = DetailSelection::field(contact.fields().front().id, ContactAction::copy);
}

void NavigationState::closeDetail() {
    detail.reset();
}

void NavigationState::selectFirstField(const Contact& contact, ContactAction action) {
    if (contact.fields().empty())
        detail = DetailSelection::edit();
    else
        detail = DetailSelection::field(contact.fields().front().id, action);
}

void NavigationState::moveField(MoveDirection direction, const Contact& contact, PhonePlan plan) {
    if (!isOpen(contact.id()))
        return;
    const auto& fields = contact.fields();
    std::size_t position = fields.size(); // the edit row
    ContactAction action = ContactAction::copy;
    std::size_t slot = 0;
    if (!detail->isEdit()) {
        action = detail->action();
        const auto index = fieldIndex(contact, detail->fieldID());
        if (!index) {
            if (!fields.empty())
                action = actionOnArrival(FieldActions::make(fields.front(), plan), action, 0);
            selectFirstField(contact, action);
            return;
        }
        position = *index;
        slot = indexOf(FieldActions::make(fields[position], plan), action).value_or(0);
    }

    const std::size_t target = stepped(position, direction, fields.size() + 1);
    if (target == position)
        return;

    if (target == fields.size())
        detail = DetailSelection::edit();
    else
        detail = DetailSelection::field(
            fields[target].id, actionOnArrival(FieldActions::make(fields[target], plan), action, slot));
}

void NavigationState::moveAction(MoveDirection direction, const Contact& contact, PhonePlan plan) {
    if (!isOpen(contact.id()))
        return;
    const auto rows = selections(contact, plan);
    const auto current = indexOf(rows, *detail);
    detail = rows[current ? stepped(*current, direction, rows.size()) : 0];
}

void NavigationState::selectField(const FieldID& fieldID, ContactAction action, const Contact& contact,
                                  PhonePlan plan) {
    if (selectedContactID != contact.id())
        return;
    const auto field = contact.field(fieldID);
    if (!field)
        return;
    detail = DetailSelection::field(
        fieldID, offers(FieldActions::make(*field, plan), action) ? action : ContactAction::copy);
}

void NavigationState::selectEdit(const ContactID& contactID) {
    if (selectedContactID != contactID)
        return;
    detail = DetailSelection::edit();
}

void NavigationState::refresh(const Contact& contact, PhonePlan plan) {
    if (!isOpen(contact.id()) || detail->isEdit())
        return;
    const auto field = contact.field(detail->fieldID());
    if (!field) {
        selectFirstField(contact, ContactAction::copy);
        return;
    }
    if (!offers(FieldActions::make(*field, plan), detail->action()))
        detail = DetailSelection::field(field->id, ContactAction::copy);
}

} // namespace DialcoveCore
