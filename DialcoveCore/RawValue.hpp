#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace DialcoveCore {

// The case among `cases` whose rawValue() is exactly `raw`, for the enumerations coded by their names.
template <typename Enum, std::size_t N>
std::optional<Enum> caseWithRawValue(const std::array<Enum, N>& cases, std::string_view raw) {
    for (Enum value : cases)
        if (rawValue(value) == raw)
            return value;
    return std::nullopt;
}

} // namespace DialcoveCore
