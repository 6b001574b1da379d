#include "MurvelCommerceUpdatesCore/UpdateOffer.hpp"

namespace MurvelCommerceUpdatesCore {

std::optional<AppVersion> UpdateOffer::offer(const std::optional<AppVersion>& published,
                                             const AppVersion& running,
                                             const std::optional<AppVersion>& setAside) {
    if (!published || !(running < *published))
        return std::nullopt;
    if (setAside && !(*setAside < *published))
        return std::nullopt;
    return published;
}

} // namespace MurvelCommerceUpdatesCore
