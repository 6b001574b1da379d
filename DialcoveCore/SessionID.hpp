#pragma once

#include "DialcoveCore/StringIdentifier.hpp"

namespace DialcoveCore {

// Names one opening of the contact session: a fresh UUID text for each load begun.
using SessionID = StringIdentifier<struct SessionIDTag>;

} // namespace DialcoveCore
