#pragma once

#include "DialcoveCore/LoadTicket.hpp"
#include "DialcoveCore/RevisionID.hpp"

namespace DialcoveCore {

// Names the query a search answer belongs to, within its load.
struct QueryTicket {
    LoadTicket load;
    RevisionID revisionID; // the query's own revision

    friend bool operator==(const QueryTicket&, const QueryTicket&) = default;
};

} // namespace DialcoveCore
