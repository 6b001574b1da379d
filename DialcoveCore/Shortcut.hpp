#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// The global shortcut: a virtual key code (see KnownKey.hpp), modifiers and the key's label as shown.
// Only make() builds one other than the default, so every shortcut is valid.
class Shortcut {
public:
    // The label is trimmed and upper-cased; a single character whose upper-case form is longer ("ß"
    // to "SS") stays as typed. Refused: key codes above 126 or of a modifier key (54-63), modifier
    // bits above command, no control, option or command, a label that is not one character, a key name
    // (SPACE, RETURN, TAB, ESC, DELETE, ←, →, ↑, ↓) or F1-F20, and Option-Space, which types a
    // character on many layouts.
    static std::optional<Shortcut> make(std::uint32_t keyCode, ShortcutModifiers modifiers,
                                        std::string_view keyLabel);

    // Control-Option-K.
    static Shortcut defaultShortcut();

    std::uint32_t keyCode() const { return keyCode_; }
    ShortcutModifiers modifiers() const { return modifiers_; }
    const std::string& keyLabel() const { return keyLabel_; }

    // The symbols of the held modifiers in the order ⌃ ⌥ ⇧ ⌘, then the key label.
    std::vector<std::string> displayParts() const;

    // {"version": 1, "keyCode": ..., "modifiers": ..., "keyLabel": ...}, in that order.
    nlohmann::ordered_json encoded() const;

    // The shortcut of a stored form, or none: not an object, a missing member, a member of the wrong
    // type or out of range (never wrapped), a version other than 1, or values make() refuses.
    // Other members are ignored. Never throws.
    static std::optional<Shortcut> decode(const nlohmann::json& json);
    static std::optional<Shortcut> decode(const nlohmann::ordered_json& json);

    friend bool operator==(const Shortcut&, const Shortcut&) = default;

private:
    Shortcut(std::uint32_t keyCode, ShortcutModifiers modifiers, std::string keyLabel)
        : keyCode_(keyCode), modifiers_(modifiers), keyLabel_(std::move(keyLabel)) {}

    std::uint32_t keyCode_;
    ShortcutModifiers modifiers_;
    std::string keyLabel_;
};

// Only into ordered JSON, which keeps the members in their stored order.
inline void to_json(nlohmann::ordered_json& json, const Shortcut& shortcut) {
    json = shortcut.encoded();
}

} // namespace DialcoveCore
