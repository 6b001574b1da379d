#pragma once

#include "MurvelCommerceUpdatesCore/AppVersion.hpp"

#include <optional>

namespace MurvelCommerceUpdatesCore {

// Whether a published version is worth offering.
struct UpdateOffer {
    UpdateOffer() = delete;

    // `published` when it is newer than `running` and, if the user set a version aside, newer than
    // that too; otherwise nothing.
    static std::optional<AppVersion> offer(const std::optional<AppVersion>& published,
                                           const AppVersion& running,
                                           const std::optional<AppVersion>& setAside);
};

} // namespace MurvelCommerceUpdatesCore
