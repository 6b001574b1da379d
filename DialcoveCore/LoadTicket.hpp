#pragma once

#include "DialcoveCore/RevisionID.hpp"
#include "DialcoveCore/SessionID.hpp"

namespace DialcoveCore {

// Names the load a result belongs to.
struct LoadTicket {
    SessionID sessionID;
    RevisionID revisionID;

    friend bool operator==(const LoadTicket&, const LoadTicket&) = default;
};

} // namespace DialcoveCore
