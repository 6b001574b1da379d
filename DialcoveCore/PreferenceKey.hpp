#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace DialcoveCore {

// One contact setting. The raw value is the name the setting is stored and synced under, so renaming
// one changes the stored format.
enum class PreferenceKey { enabled, phonePlan, shortcut };

inline constexpr std::array<PreferenceKey, 3> allPreferenceKeys{
    PreferenceKey::enabled, PreferenceKey::phonePlan, PreferenceKey::shortcut};

std::string_view rawValue(PreferenceKey key);
// Exactly "enabled", "phonePlan" or "shortcut" (case-sensitive); anything else gives no key.
std::optional<PreferenceKey> preferenceKeyFromRaw(std::string_view raw);

} // namespace DialcoveCore
