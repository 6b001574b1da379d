#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace DialcoveCore {

// A day and month with an optional year. Only `make` builds one, so every birthday is a real date.
class Birthday {
public:
    // No birthday for a month outside 1-12 or a day outside the month (February allows 29).
    // A year of 1604 (the address book's "no year" marker), of 0 or less, or a non-leap year on
    // 29 February is dropped, keeping day and month.
    static std::optional<Birthday> make(int day, int month, std::optional<int> year = std::nullopt);

    int day() const { return day_; }
    int month() const { return month_; }
    std::optional<int> year() const { return year_; }

    // The date in the locale's words with the month written out ("July 4, 1990" under en_US),
    // without a year when none is known; empty when no date can be formed. `locale` is an ICU
    // locale identifier such as "en_US" or "de_DE".
    std::string formatted(std::string_view locale) const;

    friend bool operator==(const Birthday&, const Birthday&) = default;

private:
    Birthday(int day, int month, std::optional<int> year) : day_(day), month_(month), year_(year) {}

    int day_;
    int month_;
    std::optional<int> year_;
};

} // namespace DialcoveCore
