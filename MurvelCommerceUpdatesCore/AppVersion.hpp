#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MurvelCommerceUpdatesCore {

// A plain dotted version number such as "1.4.2": the running app's, a published one, or one the
// user set aside. Compared by its numbers only, a missing trailing component counting as 0, so
// "1.2", "1.2.0" and "01.2" are the same version; the text is kept as it came.
class AppVersion {
public:
    static constexpr std::size_t maximumParts = 4;
    static constexpr std::size_t maximumDigits = 6;

    // One to four components of one to six ASCII digits, separated by single dots; nothing else,
    // not even white space. Any other text gives no version.
    static std::optional<AppVersion> parsed(std::string_view text);

    const std::vector<std::int64_t>& parts() const { return parts_; }
    // The text as parsed, unchanged: what the update card shows and the defaults store.
    const std::string& description() const { return description_; }

    friend bool operator==(const AppVersion& left, const AppVersion& right);
    friend std::strong_ordering operator<=>(const AppVersion& left, const AppVersion& right);

private:
    AppVersion(std::vector<std::int64_t> parts, std::string description)
        : parts_(std::move(parts)), description_(std::move(description)) {}

    std::vector<std::int64_t> parts_;
    std::string description_;
};

} // namespace MurvelCommerceUpdatesCore
