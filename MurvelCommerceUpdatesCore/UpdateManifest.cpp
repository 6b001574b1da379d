#include "MurvelCommerceUpdatesCore/UpdateManifest.hpp"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace MurvelCommerceUpdatesCore {

namespace {

// "format" as a 64-bit integer, as a typed decoder reads one: a JSON number with no fraction that
// fits (1.0 is 1), never a number that would be truncated or wrapped, never a string or a bool.
std::optional<std::int64_t> exactInteger(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::number_integer:
        return value.get<std::int64_t>();
    case nlohmann::json::value_t::number_unsigned: {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(number);
    }
    case nlohmann::json::value_t::number_float: {
        const auto number = value.get<double>();
        // 2^63 is exact as a double and is the first value out of range.
        constexpr double limit = 9223372036854775808.0;
        if (!std::isfinite(number) || std::trunc(number) != number || number < -limit || number >= limit)
            return std::nullopt;
        return static_cast<std::int64_t>(number);
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::variant<UpdateManifest, UpdateFailure> UpdateManifest::decoded(std::string_view bytes) {
    if (bytes.size() > maximumBytes)
        return UpdateFailure::unreadable;
    // The parser takes a NUL byte for the end of the input and would accept whatever follows it;
    // JSON allows none anywhere, not even inside a string.
    if (bytes.find('\0') != std::string_view::npos)
        return UpdateFailure::unreadable;
    // Without exceptions: any syntax error, invalid UTF-8 or trailing byte gives a discarded value.
    // The parser keeps its nesting on the heap, so deep brackets cost memory, not stack.
    const nlohmann::json document = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return UpdateFailure::unreadable;
    const auto format = document.find("format");
    const auto apps = document.find("apps");
    if (format == document.end() || apps == document.end() || !apps->is_object())
        return UpdateFailure::unreadable;
    const std::optional<std::int64_t> formatNumber = exactInteger(*format);
    if (!formatNumber)
        return UpdateFailure::unreadable;
    if (*formatNumber != supportedFormat)
        return UpdateFailure::unknownFormat;

    std::map<std::string, AppVersion> versions;
    for (const auto& [app, entry] : apps->items()) {
        if (!entry.is_string())
            continue;
        if (std::optional<AppVersion> version = AppVersion::parsed(entry.get_ref<const std::string&>()))
            versions.insert_or_assign(app, std::move(*version));
    }
    return UpdateManifest(std::move(versions));
}

} // namespace MurvelCommerceUpdatesCore
