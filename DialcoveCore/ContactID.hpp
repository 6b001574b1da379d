#pragma once

#include "DialcoveCore/StringIdentifier.hpp"

namespace DialcoveCore {

// The address book's identifier of one contact.
using ContactID = StringIdentifier<struct ContactIDTag>;

} // namespace DialcoveCore
