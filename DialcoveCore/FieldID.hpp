#pragma once

#include "DialcoveCore/StringIdentifier.hpp"

namespace DialcoveCore {

// The address book's identifier of one labelled phone number or e-mail address.
using FieldID = StringIdentifier<struct FieldIDTag>;

} // namespace DialcoveCore
