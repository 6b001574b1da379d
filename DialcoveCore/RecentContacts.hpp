#pragma once

#include "DialcoveCore/ContactID.hpp"

#include <cstddef>
#include <vector>

namespace DialcoveCore {

// The contacts the user acted on last, newest first: no repeats, at most five.
class RecentContacts {
public:
    static constexpr std::size_t capacity = 5;

    RecentContacts() = default;
    // Keeps the first occurrence of each identifier, then the first five.
    explicit RecentContacts(const std::vector<ContactID>& ids);

    const std::vector<ContactID>& ids() const { return ids_; }

    // Moves `id` to the front, dropping the oldest beyond five.
    void record(const ContactID& id);
    void clear() { ids_.clear(); }
    // The recent identifiers that are among `known`, in recency order.
    std::vector<ContactID> available(const std::vector<ContactID>& known) const;

    friend bool operator==(const RecentContacts&, const RecentContacts&) = default;

private:
    std::vector<ContactID> ids_;
};

} // namespace DialcoveCore
