#pragma once

#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/FieldID.hpp"

namespace DialcoveCore {

// The selected row of an open contact: one action of one field, or the edit row below the fields.
class DetailSelection {
public:
    static DetailSelection field(FieldID fieldID, ContactAction action) {
        return {std::move(fieldID), action};
    }
    static DetailSelection edit() { return {}; }

    bool isEdit() const { return isEdit_; }
    // Meaningful only for a field selection.
    const FieldID& fieldID() const { return fieldID_; }
    ContactAction action() const { return action_; }

    // Edit rows carry no field, so they are all equal.
    friend bool operator==(const DetailSelection&, const DetailSelection&) = default;

private:
    DetailSelection() = default;
    DetailSelection(FieldID fieldID, ContactAction action)
        : isEdit_(false), fieldID_(std::move(fieldID)), action_(action) {}

    bool isEdit_ = true;
    FieldID fieldID_;
    ContactAction action_ = ContactAction::copy;
};

} // namespace DialcoveCore
