#include "MurvelCommerceUpdatesCore/UpdateSchedule.hpp"

#include <cstdint>

namespace MurvelCommerceUpdatesCore {

std::optional<UpdateSchedule::Date> UpdateSchedule::Last::at() const {
    if (kind_ == Kind::never)
        return std::nullopt;
    return at_;
}

bool UpdateSchedule::isDue(const Last& last, Date now) {
    const std::optional<Date> at = last.at();
    if (!at)
        return true;
    if (now < *at)
        return true;
    const std::chrono::milliseconds interval =
        last.kind() == Last::Kind::failed ? retryAfterFailure : recheckAfterAnswer;
    // `at + interval` or `now - at` may overflow for a stored date near the ends of the range; the
    // difference of two ordered 64-bit values always fits in 64 unsigned bits.
    const std::uint64_t elapsed = static_cast<std::uint64_t>(now.time_since_epoch().count()) -
                                  static_cast<std::uint64_t>(at->time_since_epoch().count());
    return elapsed >= static_cast<std::uint64_t>(interval.count());
}

} // namespace MurvelCommerceUpdatesCore
