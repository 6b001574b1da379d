#pragma once

#include "MurvelCommerceUpdates/UpdateFeed.hpp"

#include <QString>
#include <ostream>

namespace TestSupport {

// "unreachable", "unreadable" or "bytes:<size>", for readable failures.
inline std::string describe(const MurvelCommerceUpdates::FeedResult& result) {
    if (const auto* failure = std::get_if<MurvelCommerceUpdates::UpdateFailure>(&result))
        return std::string(MurvelCommerceUpdatesCore::name(*failure));
    return "bytes:" + std::to_string(std::get<QByteArray>(result).size());
}

} // namespace TestSupport
