#include "DialcoveCore/PreferenceKey.hpp"

#include "DialcoveCore/RawValue.hpp"

namespace DialcoveCore {

namespace {

constexpr std::string_view names[] = {"enabled", "phonePlan", "shortcut"};

} // namespace

std::string_view rawValue(PreferenceKey key) {
    return names[static_cast<std::size_t>(key)];
}

std::optional<PreferenceKey> preferenceKeyFromRaw(std::string_view raw) {
    return caseWithRawValue(allPreferenceKeys, raw);
}

} // namespace DialcoveCore
