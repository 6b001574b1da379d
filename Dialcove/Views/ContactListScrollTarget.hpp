#pragma once

#include "DialcoveCore/ContactID.hpp"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace Dialcove {

// What one scroll of the result list to its selected row is for: the list scrolls again exactly
// when any of these changes.
struct ContactListScrollTarget {
    std::optional<DialcoveCore::ContactID> selected;
    std::vector<DialcoveCore::ContactID> contacts;
    // The query as typed.
    QString query;
    int contentHeight = 0;
    int viewportHeight = 0;

    friend bool operator==(const ContactListScrollTarget&, const ContactListScrollTarget&) = default;
};

inline size_t qHash(const ContactListScrollTarget& target, size_t seed = 0) {
    const std::hash<DialcoveCore::ContactID> hashID;
    size_t hash = qHashMulti(seed, target.query, target.contentHeight, target.viewportHeight,
                             target.selected.has_value());
    if (target.selected)
        hash = qHashMulti(hash, hashID(*target.selected));
    for (const DialcoveCore::ContactID& id : target.contacts)
        hash = qHashMulti(hash, hashID(id));
    return hash;
}

} // namespace Dialcove
