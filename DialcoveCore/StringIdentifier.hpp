#pragma once

#include <compare>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

namespace DialcoveCore {

// A text-backed identifier. The tag keeps contact, field, session and revision
// identifiers from being mixed up; equality, hashing and coding use the bare text.
template <typename Tag> struct StringIdentifier {
    std::string rawValue;

    StringIdentifier() = default;
    explicit StringIdentifier(std::string raw) : rawValue(std::move(raw)) {}

    friend auto operator<=>(const StringIdentifier&, const StringIdentifier&) = default;
    friend bool operator==(const StringIdentifier&, const StringIdentifier&) = default;

    // Coded as a single string value, not an object.
    friend void to_json(nlohmann::json& json, const StringIdentifier& id) { json = id.rawValue; }
    friend void from_json(const nlohmann::json& json, StringIdentifier& id) {
        id.rawValue = json.get<std::string>();
    }
};

} // namespace DialcoveCore

template <typename Tag> struct std::hash<DialcoveCore::StringIdentifier<Tag>> {
    std::size_t operator()(const DialcoveCore::StringIdentifier<Tag>& id) const noexcept {
        return std::hash<std::string>{}(id.rawValue);
    }
};
