#include "MurvelCommerceUpdatesCore/AppVersion.hpp"

#include <algorithm>

namespace MurvelCommerceUpdatesCore {

std::optional<AppVersion> AppVersion::parsed(std::string_view text) {
    std::vector<std::int64_t> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        const std::string_view component =
            text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (parts.size() == maximumParts || component.empty() || component.size() > maximumDigits)
            return std::nullopt;
        std::int64_t value = 0;
        for (const char c : component) {
            // Bytes, not characters: any byte of a non-ASCII digit fails here too.
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        parts.push_back(value);
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return AppVersion(std::move(parts), std::string(text));
}

bool operator==(const AppVersion& left, const AppVersion& right) {
    return (left <=> right) == std::strong_ordering::equal;
}

std::strong_ordering operator<=>(const AppVersion& left, const AppVersion& right) {
    const std::size_t length = std::max(left.parts_.size(), right.parts_.size());
    for (std::size_t i = 0; i < length; ++i) {
        const std::int64_t a = i < left.parts_.size() ? left.parts_[i] : 0;
        const std::int64_t b = i < right.parts_.size() ? right.parts_[i] : 0;
        if (a != b)
            return a <=> b;
    }
    return std::strong_ordering::equal;
}

} // namespace MurvelCommerceUpdatesCore
