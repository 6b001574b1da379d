#include "DialcoveCore/Birthday.hpp"

#include <array>
#include <memory>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace DialcoveCore {

namespace {

constexpr std::array<int, 12> kMonthMaximum{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kNoYearMarker = 1604;
// A leap year, so 29 February still forms a date when the year is unknown.
constexpr int kPlaceholderYear = 2000;

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

} // namespace

std::optional<Birthday> Birthday::make(int day, int month, std::optional<int> year) {
    if (month < 1 || month > 12)
        return std::nullopt;
    if (day < 1 || day > kMonthMaximum[static_cast<std::size_t>(month - 1)])
        return std::nullopt;
    if (year && (*year == kNoYearMarker || *year <= 0))
        year.reset();
    if (year && month == 2 && day == 29 && !isLeapYear(*year))
        year.reset();
    return Birthday(day, month, year);
}

std::string Birthday::formatted(std::string_view locale) const {
    const icu::Locale icuLocale(std::string(locale).c_str());
    UErrorCode status = U_ZERO_ERROR;

    auto calendar =
        std::make_unique<icu::GregorianCalendar>(icu::TimeZone::getGMT()->clone(), icuLocale, status);
    if (U_FAILURE(status))
        return {};
    calendar->clear();
    calendar->setLenient(false);
    calendar->set(year_.value_or(kPlaceholderYear), month_ - 1, day_);
    const UDate date = calendar->getTime(status);
    if (U_FAILURE(status))
        return {};

    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(icuLocale, status));
    if (U_FAILURE(status))
        return {};
    const icu::UnicodeString pattern = generator->getBestPattern(year_ ? u"yMMMMd" : u"MMMMd", status);
    icu::SimpleDateFormat format(pattern, icuLocale, status);
    if (U_FAILURE(status))
        return {};
    format.adoptCalendar(calendar.release());
    format.setTimeZone(*icu::TimeZone::getGMT());

    icu::UnicodeString text;
    format.format(date, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

} // namespace DialcoveCore
