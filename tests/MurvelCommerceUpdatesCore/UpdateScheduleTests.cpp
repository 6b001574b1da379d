#include "MurvelCommerceUpdatesCore/UpdateOffer.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSchedule.hpp"

#include <gtest/gtest.h>

using namespace MurvelCommerceUpdatesCore;
using namespace std::chrono_literals;

namespace {

using Date = UpdateSchedule::Date;
using Last = UpdateSchedule::Last;

// 2026-03-01 00:00 UTC
constexpr Date T{std::chrono::sys_days{std::chrono::year{2026} / 3 / 1}};

TEST(UpdateSchedule, DueOutsideTheIntervalAfterTheLastCheck) {
    constexpr Date year1{std::chrono::sys_days{std::chrono::year{1} / 1 / 1}};
    constexpr Date year9999{std::chrono::sys_days{std::chrono::year{9999} / 12 / 31}};
    constexpr Date earliest = Date::min();
    constexpr Date latest = Date::max();
    const struct {
        const char* name;
        Last last;
        Date now;
        bool due;
    } cases[] = {
        {"never", Last::never(), T, true},
        {"never, at the earliest date", Last::never(), earliest, true},
        {"failed, clock set back", Last::failed(T), T - 1s, true},
        {"failed, at once", Last::failed(T), T, false},
        {"failed, a second short of an hour", Last::failed(T), T + 3599s, false},
        {"failed, an hour on", Last::failed(T), T + 3600s, true},
        {"failed, a millisecond short", Last::failed(T), T + 3600s - 1ms, false},
        {"answered, clock set back", Last::answered(T), T - 1ms, true},
        {"answered, at once", Last::answered(T), T, false},
        {"answered, 14 days on", Last::answered(T), T + std::chrono::days{14}, false},
        {"answered, 15 days on", Last::answered(T), T + std::chrono::days{15}, true},
        {"answered, a millisecond short of 15 days", Last::answered(T), T + std::chrono::days{15} - 1ms,
         false},
        {"answered in year 1", Last::answered(year1), T, true},
        {"answered in year 9999", Last::answered(year9999), T, true},
        {"failed in year 9999", Last::failed(year9999), T, true},
        // Where at + interval or now - at leaves 64 bits.
        {"answered at the earliest date", Last::answered(earliest), T, true},
        {"answered at the earliest date, now the latest", Last::answered(earliest), latest, true},
        {"answered at the latest date", Last::answered(latest), T, true},
        {"answered at the latest date, now too", Last::answered(latest), latest, false},
        {"failed at the latest date, now too", Last::failed(latest), latest, false},
        {"answered just before the latest", Last::answered(latest - 1s), latest, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UpdateSchedule::isDue(c.last, c.now), c.due) << c.name;
}

TEST(UpdateSchedule, LastIsEqualWhenCaseAndDateAre) {
    EXPECT_EQ(Last::never(), Last::never());
    EXPECT_EQ(Last::answered(T), Last::answered(T));
    EXPECT_NE(Last::answered(T), Last::failed(T));
    EXPECT_NE(Last::answered(T), Last::answered(T + 1ms));
    EXPECT_NE(Last::never(), Last::answered(Date{}));
    EXPECT_EQ(Last::failed(T).at(), T);
    EXPECT_EQ(Last::never().at(), std::nullopt);
}

TEST(UpdateOffer, OffersOnlyANewerVersionNotSetAside) {
    const struct {
        const char* published; // nullptr: none
        const char* running;
        const char* setAside; // nullptr: none
        const char* offered;  // nullptr: nothing
    } cases[] = {
        {"1.3", "1.2", nullptr, "1.3"},   {"1.3", "1.2", "1.3", nullptr},
        {"1.3", "1.2", "1.3.0", nullptr}, {"1.3", "1.2", "1.2.9", "1.3"},
        {"1.3", "1.2", "1.4", nullptr},   {"1.2.0", "1.2", nullptr, nullptr},
        {"1.3", "1.4", nullptr, nullptr}, {"1.3", "1.4", "1.0", nullptr},
        {"1.3", "1.4", "1.3", nullptr},   {nullptr, "1.2", nullptr, nullptr},
        {nullptr, "1.2", "1.0", nullptr}, {"1.3.0", "1.2", nullptr, "1.3.0"}, // offered as published
    };
    const auto version = [](const char* text) -> std::optional<AppVersion> {
        return text ? AppVersion::parsed(text) : std::nullopt;
    };
    for (const auto& c : cases) {
        const std::optional<AppVersion> offered =
            UpdateOffer::offer(version(c.published), *version(c.running), version(c.setAside));
        const std::string label = std::string(c.published ? c.published : "-") + " over " + c.running +
                                  ", aside " + (c.setAside ? c.setAside : "-");
        ASSERT_EQ(offered.has_value(), c.offered != nullptr) << label;
        if (offered) {
            EXPECT_EQ(offered->description(), c.offered) << label;
        }
    }
}

} // namespace
