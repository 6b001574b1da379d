#pragma once

#include "DialcoveCore/ContactID.hpp"

#include <vector>

namespace Dialcove {

// Where the recent contacts are kept: their identifiers, newest first. Implemented by reference
// objects only; ordering and de-duplication are the callers' (see DialcoveCore::RecentContacts).
class ContactRecentStorage {
public:
    virtual ~ContactRecentStorage() = default;

    // The stored identifiers, in stored order.
    virtual std::vector<DialcoveCore::ContactID> ids() const = 0;
    // Replaces them.
    virtual void setIds(const std::vector<DialcoveCore::ContactID>& ids) = 0;
};

} // namespace Dialcove
