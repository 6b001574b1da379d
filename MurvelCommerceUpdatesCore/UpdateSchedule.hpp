#pragma once

#include <chrono>
#include <optional>

namespace MurvelCommerceUpdatesCore {

// When the update check may ask the maker's site again: an hour after a failed try, 15 days after
// an answer, at once when the clock now reads earlier than the last check.
struct UpdateSchedule {
    // Milliseconds since 1970 in 64 bits: any date a settings file can hold, years 1 and 9999 included.
    using Date = std::chrono::sys_time<std::chrono::milliseconds>;

    static constexpr std::chrono::seconds retryAfterFailure{3600};
    static constexpr std::chrono::seconds recheckAfterAnswer{1296000};

    // The outcome of the last check.
    class Last {
    public:
        enum class Kind { answered, failed, never };

        // The site answered at `at`: a manifest, or a body that was not one.
        static Last answered(Date at) { return Last(Kind::answered, at); }
        // The site could not be reached at `at`.
        static Last failed(Date at) { return Last(Kind::failed, at); }
        static Last never() { return Last(Kind::never, Date{}); }

        Kind kind() const { return kind_; }
        // When the check ended; nothing for `never`.
        std::optional<Date> at() const;

        friend bool operator==(const Last&, const Last&) = default;

    private:
        Last(Kind kind, Date at) : kind_(kind), at_(at) {}

        Kind kind_;
        Date at_;
    };

    UpdateSchedule() = delete;

    // Due unless `now` lies in [at, at + interval): `now` before `at` is due, `now` at the end of
    // the interval is due. Exact for any pair of dates, however far apart.
    static bool isDue(const Last& last, Date now);
};

} // namespace MurvelCommerceUpdatesCore
