#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace DialcoveCore {

// Shortcuts store the virtual key codes of the standard (ANSI) keyboard layout, so a stored or synced
// shortcut names the same physical key everywhere. The platform layer translates them to and from its
// own key symbols through knownKeys().

// The key codes the model's rules name.
struct KeyCode {
    KeyCode() = delete;

    static constexpr std::uint32_t c = 8;
    static constexpr std::uint32_t returnKey = 36;
    static constexpr std::uint32_t k = 40;
    static constexpr std::uint32_t tab = 48;
    static constexpr std::uint32_t space = 49;
    static constexpr std::uint32_t deleteKey = 51; // backspace
    static constexpr std::uint32_t escape = 53;
    static constexpr std::uint32_t firstModifier = 54; // 54-63: command, shift, caps lock, option,
    static constexpr std::uint32_t lastModifier = 63;  // control and function, both sides
    static constexpr std::uint32_t keypadEnter = 76;
    static constexpr std::uint32_t forwardDelete = 117;
    static constexpr std::uint32_t leftArrow = 123;
    static constexpr std::uint32_t rightArrow = 124;
    static constexpr std::uint32_t downArrow = 125;
    static constexpr std::uint32_t upArrow = 126;
    static constexpr std::uint32_t highest = 126;
};

struct KnownKey {
    enum class Group {
        character, // types a character; `name` is what it types unshifted on a US layout ("a", "1", "-")
        keypad,    // on the numeric keypad; `name` is what it types ("1", "*"), or "enter" / "clear"
        named,     // a key without a character: "return", "tab", "space", "delete", "escape", "home", ...
        function,  // "f1" to "f20"
        modifier,  // never a shortcut's key: "command", "shift", "capsLock", "option", "control", "function",
                   // ...
    };

    std::uint32_t keyCode;
    Group group;
    std::string_view name;
    // The label a recorded shortcut shows for this key whatever the keyboard layout; empty when the
    // character the key types names it.
    std::string_view label;
};

// Every key code the model knows, ascending by code.
std::span<const KnownKey> knownKeys();

// The row of `keyCode`, or null.
const KnownKey* knownKey(std::uint32_t keyCode);

// The label to record for a key press: the key's fixed label when it has one (Return, Tab, Space,
// the arrows, F1-F20), else `typed`, the characters the key produced ignoring modifiers, as they came.
// Shortcut::make trims and upper-cases it.
std::string recordedKeyLabel(std::uint32_t keyCode, std::string_view typed);

} // namespace DialcoveCore
