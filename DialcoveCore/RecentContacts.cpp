#include "DialcoveCore/RecentContacts.hpp"

#include <algorithm>
#include <unordered_set>

namespace DialcoveCore {

RecentContacts::RecentContacts(const std::vector<ContactID>& ids) {
    std::unordered_set<ContactID> seen;
    for (const ContactID& id : ids) {
        if (ids_.size() == capacity)
            break;
        if (seen.insert(id).second)
            ids_.push_back(id);
    }
}

void RecentContacts::record(const ContactID& id) {
    std::erase(ids_, id);
    ids_.insert(ids_.begin(), id);
    if (ids_.size() > capacity)
        ids_.resize(capacity);
}

std::vector<ContactID> RecentContacts::available(const std::vector<ContactID>& known) const {
    const std::unordered_set<ContactID> knownSet(known.begin(), known.end());
    std::vector<ContactID> kept;
    std::copy_if(ids_.begin(), ids_.end(), std::back_inserter(kept),
                 [&](const ContactID& id) { return knownSet.contains(id); });
    return kept;
}

} // namespace DialcoveCore
