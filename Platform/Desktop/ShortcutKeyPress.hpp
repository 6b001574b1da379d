#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace Platform {

// A key press as the shortcut recorder sees it, in the model's terms.
struct ShortcutKeyPress {
    // The model's virtual key code (see DialcoveCore/KnownKey.hpp); none for a key the model does not know.
    std::optional<std::uint32_t> keyCode;
    DialcoveCore::ShortcutModifiers modifiers;
    // What the key types with no modifier but Shift, as UTF-8; empty for a key that types nothing.
    std::string typed;
    // A modifier or lock key pressed by itself: a recorder waits for the key that follows it.
    bool modifierKey = false;

    friend bool operator==(const ShortcutKeyPress&, const ShortcutKeyPress&) = default;
};

} // namespace Platform
