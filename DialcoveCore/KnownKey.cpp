#include "DialcoveCore/KnownKey.hpp"

#include <algorithm>

namespace DialcoveCore {

namespace {

using G = KnownKey::Group;

constexpr KnownKey keys[] = {
    {0, G::character, "a", ""},
    {1, G::character, "s", ""},
    {2, G::character, "d", ""},
    {3, G::character, "f", ""},
    {4, G::character, "h", ""},
    {5, G::character, "g", ""},
    {6, G::character, "z", ""},
    {7, G::character, "x", ""},
    {KeyCode::c, G::character, "c", ""},
    {9, G::character, "v", ""},
    {11, G::character, "b", ""},
    {12, G::character, "q", ""},
    {13, G::character, "w", ""},
    {14, G::character, "e", ""},
    {15, G::character, "r", ""},
    {16, G::character, "y", ""},
    {17, G::character, "t", ""},
    {18, G::character, "1", ""},
    {19, G::character, "2", ""},
    {20, G::character, "3", ""},
    {21, G::character, "4", ""},
    {22, G::character, "6", ""},
    {23, G::character, "5", ""},
    {24, G::character, "=", ""},
    {25, G::character, "9", ""},
    {26, G::character, "7", ""},
    {27, G::character, "-", ""},
    {28, G::character, "8", ""},
    {29, G::character, "0", ""},
    {30, G::character, "]", ""},
    {31, G::character, "o", ""},
    {32, G::character, "u", ""},
    {33, G::character, "[", ""},
    {34, G::character, "i", ""},
    {35, G::character, "p", ""},
    {KeyCode::returnKey, G::named, "return", "RETURN"},
    {37, G::character, "l", ""},
    {38, G::character, "j", ""},
    {39, G::character, "'", ""},
    {KeyCode::k, G::character, "k", ""},
    {41, G::character, ";", ""},
    {42, G::character, "\\", ""},
    {43, G::character, ",", ""},
    {44, G::character, "/", ""},
    {45, G::character, "n", ""},
    {46, G::character, "m", ""},
    {47, G::character, ".", ""},
    {KeyCode::tab, G::named, "tab", "TAB"},
    {KeyCode::space, G::named, "space", "SPACE"},
    {50, G::character, "`", ""},
    {KeyCode::deleteKey, G::named, "delete", ""},
    {KeyCode::escape, G::named, "escape", ""},
    {54, G::modifier, "rightCommand", ""},
    {55, G::modifier, "command", ""},
    {56, G::modifier, "shift", ""},
    {57, G::modifier, "capsLock", ""},
    {58, G::modifier, "option", ""},
    {59, G::modifier, "control", ""},
    {60, G::modifier, "rightShift", ""},
    {61, G::modifier, "rightOption", ""},
    {62, G::modifier, "rightControl", ""},
    {63, G::modifier, "function", ""},
    {64, G::function, "f17", "F17"},
    {65, G::keypad, ".", ""},
    {67, G::keypad, "*", ""},
    {69, G::keypad, "+", ""},
    {71, G::keypad, "clear", ""},
    {75, G::keypad, "/", ""},
    {KeyCode::keypadEnter, G::keypad, "enter", "RETURN"},
    {78, G::keypad, "-", ""},
    {79, G::function, "f18", "F18"},
    {80, G::function, "f19", "F19"},
    {81, G::keypad, "=", ""},
    {82, G::keypad, "0", ""},
    {83, G::keypad, "1", ""},
    {84, G::keypad, "2", ""},
    {85, G::keypad, "3", ""},
    {86, G::keypad, "4", ""},
    {87, G::keypad, "5", ""},
    {88, G::keypad, "6", ""},
    {89, G::keypad, "7", ""},
    {90, G::function, "f20", "F20"},
    {91, G::keypad, "8", ""},
    {92, G::keypad, "9", ""},
    {96, G::function, "f5", "F5"},
    {97, G::function, "f6", "F6"},
    {98, G::function, "f7", "F7"},
    {99, G::function, "f3", "F3"},
    {100, G::function, "f8", "F8"},
    {101, G::function, "f9", "F9"},
    {103, G::function, "f11", "F11"},
    {105, G::function, "f13", "F13"},
    {106, G::function, "f16", "F16"},
    {107, G::function, "f14", "F14"},
    {109, G::function, "f10", "F10"},
    {111, G::function, "f12", "F12"},
    {113, G::function, "f15", "F15"},
    {114, G::named, "help", ""},
    {115, G::named, "home", ""},
    {116, G::named, "pageUp", ""},
    {KeyCode::forwardDelete, G::named, "forwardDelete", ""},
    {118, G::function, "f4", "F4"},
    {119, G::named, "end", ""},
    {120, G::function, "f2", "F2"},
    {121, G::named, "pageDown", ""},
    {122, G::function, "f1", "F1"},
    {KeyCode::leftArrow, G::named, "leftArrow", "\u2190"},
    {KeyCode::rightArrow, G::named, "rightArrow", "\u2192"},
    {KeyCode::downArrow, G::named, "downArrow", "\u2193"},
    {KeyCode::upArrow, G::named, "upArrow", "\u2191"},
};

constexpr bool ascending() {
    for (std::size_t i = 1; i < std::size(keys); ++i)
        if (keys[i - 1].keyCode >= keys[i].keyCode)
            return false;
    return true;
}
static_assert(ascending(), "key codes ascend without repeats, so lookups can bisect");

} // namespace

std::span<const KnownKey> knownKeys() {
    return keys;
}

const KnownKey* knownKey(std::uint32_t keyCode) {
    const auto* found =
        std::lower_bound(std::begin(keys), std::end(keys), keyCode,
                         [](const KnownKey& key, std::uint32_t code) { return key.keyCode < code; });
    return found != std::end(keys) && found->keyCode == keyCode ? found : nullptr;
}

std::string recordedKeyLabel(std::uint32_t keyCode, std::string_view typed) {
    const KnownKey* key = knownKey(keyCode);
    return std::string(key != nullptr && !key->label.empty() ? key->label : typed);
}

} // namespace DialcoveCore
