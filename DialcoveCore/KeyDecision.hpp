#pragma once

#include "DialcoveCore/MoveDirection.hpp"

#include <optional>

namespace DialcoveCore {

// What a panel key means in the panel's current situation. Only the three move cases carry a
// direction; the factories keep it absent for the others, so equality is by case and direction.
class KeyDecision {
public:
    enum class Kind {
        moveContact,           // move the selection in the result list
        moveField,             // move the selected field of the open contact
        moveAction,            // move through the open contact's actions and its edit row
        passThrough,           // leave the key to the focused text field
        openContact,           // open the selected contact
        performSelectedAction, // run the selected action on the selected field
        copyFirstPhone,        // copy the selected contact's first phone number
        openWhatsApp,          // start a chat with the open contact's number
        backToList,            // close the contact and return to the list
        close,                 // close the panel
    };

    static constexpr KeyDecision moveContact(MoveDirection direction) {
        return {Kind::moveContact, direction};
    }
    static constexpr KeyDecision moveField(MoveDirection direction) { return {Kind::moveField, direction}; }
    static constexpr KeyDecision moveAction(MoveDirection direction) { return {Kind::moveAction, direction}; }
    static constexpr KeyDecision passThrough() { return {Kind::passThrough}; }
    static constexpr KeyDecision openContact() { return {Kind::openContact}; }
    static constexpr KeyDecision performSelectedAction() { return {Kind::performSelectedAction}; }
    static constexpr KeyDecision copyFirstPhone() { return {Kind::copyFirstPhone}; }
    static constexpr KeyDecision openWhatsApp() { return {Kind::openWhatsApp}; }
    static constexpr KeyDecision backToList() { return {Kind::backToList}; }
    static constexpr KeyDecision close() { return {Kind::close}; }

    constexpr Kind kind() const { return kind_; }
    // Present exactly for the move cases.
    constexpr std::optional<MoveDirection> direction() const { return direction_; }

    friend bool operator==(const KeyDecision&, const KeyDecision&) = default;

private:
    constexpr KeyDecision(Kind kind, std::optional<MoveDirection> direction = std::nullopt)
        : kind_(kind), direction_(direction) {}

    Kind kind_;
    std::optional<MoveDirection> direction_;
};

} // namespace DialcoveCore
