#pragma once

#include <string_view>

namespace MurvelCommerceUpdatesCore {

// Everything that can go wrong in an update check, fetch and decoding alike.
enum class UpdateFailure {
    unreachable,   // no connection, TLS refused, a time-out, or a status other than 200
    unreadable,    // a body over 65,536 bytes, or not a manifest
    unknownFormat, // a manifest of a format other than 1
};

// The case name, as the log shows it.
std::string_view name(UpdateFailure failure);

} // namespace MurvelCommerceUpdatesCore
