#pragma once

#include "DialcoveCore/StringIdentifier.hpp"

namespace DialcoveCore {

// Names one revision within a session (a load, a query or an action): a fresh UUID text each.
using RevisionID = StringIdentifier<struct RevisionIDTag>;

} // namespace DialcoveCore
