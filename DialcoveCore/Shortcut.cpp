#include "DialcoveCore/Shortcut.hpp"

#include "DialcoveCore/KnownKey.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <charconv>

namespace DialcoveCore {

namespace {

constexpr std::uint8_t meaningfulModifierBits = 0x0F;
constexpr int shortcutVersion = 1;

constexpr std::string_view keyNames[] = {"SPACE",  "RETURN", "TAB",    "ESC",   "DELETE",
                                         "\u2190", "\u2192", "\u2191", "\u2193"};

bool isOneCharacter(std::string_view text) {
    return !text.empty() && graphemeBoundaries(text).size() == 2;
}

std::string normalisedLabel(std::string_view label) {
    const std::string_view trimmed = trimmedWhitespace(label);
    std::string upper = upperCased(trimmed);
    // Upper-casing must not turn a recordable key into an unrecordable label: "ß" would become "SS".
    if (isOneCharacter(trimmed) && !isOneCharacter(upper))
        return std::string(trimmed);
    return upper;
}

bool isFunctionKeyLabel(std::string_view label) {
    if (!label.starts_with('F') || label.size() < 2)
        return false;
    const std::string_view number = label.substr(1);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() && value >= 1 && value <= 20;
}

bool isAcceptedLabel(std::string_view label) {
    if (isOneCharacter(label) || isFunctionKeyLabel(label))
        return true;
    for (std::string_view name : keyNames)
        if (label == name)
            return true;
    return false;
}

// A JSON integer within 0...max, else none: floats, booleans, negatives and larger numbers are refused
// rather than converted.
template <typename Json>
std::optional<std::uint64_t> unsignedMember(const Json& json, const char* key, std::uint64_t max) {
    const auto member = json.find(key);
    if (member == json.end())
        return std::nullopt;
    std::uint64_t value = 0;
    if (member->is_number_unsigned()) {
        value = member->template get<std::uint64_t>();
    } else if (member->is_number_integer()) {
        const auto signedValue = member->template get<std::int64_t>();
        if (signedValue < 0)
            return std::nullopt;
        value = static_cast<std::uint64_t>(signedValue);
    } else {
        return std::nullopt;
    }
    return value <= max ? std::optional(value) : std::nullopt;
}

template <typename Json> std::optional<Shortcut> decodeShortcut(const Json& json) {
    if (!json.is_object())
        return std::nullopt;
    const auto version = unsignedMember(json, "version", shortcutVersion);
    const auto keyCode = unsignedMember(json, "keyCode", UINT32_MAX);
    const auto modifiers = unsignedMember(json, "modifiers", UINT8_MAX);
    const auto label = json.find("keyLabel");
    if (version != std::uint64_t{shortcutVersion} || !keyCode || !modifiers || label == json.end() ||
        !label->is_string())
        return std::nullopt;
    return Shortcut::make(static_cast<std::uint32_t>(*keyCode),
                          ShortcutModifiers(static_cast<std::uint8_t>(*modifiers)),
                          label->template get_ref<const std::string&>());
}

} // namespace

std::optional<Shortcut> Shortcut::make(std::uint32_t keyCode, ShortcutModifiers modifiers,
                                       std::string_view keyLabel) {
    std::string label = normalisedLabel(keyLabel);
    if (keyCode > KeyCode::highest || (keyCode >= KeyCode::firstModifier && keyCode <= KeyCode::lastModifier))
        return std::nullopt;
    if ((modifiers.rawValue() & ~meaningfulModifierBits) != 0)
        return std::nullopt;
    if (modifiers.isDisjoint(
            {ShortcutModifiers::control, ShortcutModifiers::option, ShortcutModifiers::command}))
        return std::nullopt;
    if (!isAcceptedLabel(label))
        return std::nullopt;
    if (keyCode == KeyCode::space && modifiers == ShortcutModifiers::option)
        return std::nullopt;
    return Shortcut(keyCode, modifiers, std::move(label));
}

Shortcut Shortcut::defaultShortcut() {
    return Shortcut(KeyCode::k, {ShortcutModifiers::control, ShortcutModifiers::option}, "K");
}

std::vector<std::string> Shortcut::displayParts() const {
    static const std::pair<ShortcutModifiers, const char*> symbols[] = {
        {ShortcutModifiers::control, "\u2303"},
        {ShortcutModifiers::option, "\u2325"},
        {ShortcutModifiers::shift, "\u21E7"},
        {ShortcutModifiers::command, "\u2318"},
    };
    std::vector<std::string> parts;
    for (const auto& [member, symbol] : symbols)
        if (modifiers_.contains(member))
            parts.emplace_back(symbol);
    parts.push_back(keyLabel_);
    return parts;
}

nlohmann::ordered_json Shortcut::encoded() const {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["version"] = shortcutVersion;
    json["keyCode"] = keyCode_;
    json["modifiers"] = modifiers_.rawValue();
    json["keyLabel"] = keyLabel_;
    return json;
}

std::optional<Shortcut> Shortcut::decode(const nlohmann::json& json) {
    return decodeShortcut(json);
}
std::optional<Shortcut> Shortcut::decode(const nlohmann::ordered_json& json) {
    return decodeShortcut(json);
}

} // namespace DialcoveCore
