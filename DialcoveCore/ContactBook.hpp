#pragma once

#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactView.hpp"

#include <cstddef>
#include <cstdint>

namespace DialcoveCore {

// A read-only list of contacts in a fixed order, kept packed rather than as one value each: the
// search index is built from its views, and a contact becomes a value only when one is asked for.
// Immutable, so it may be shared between threads.
class ContactBook {
public:
    virtual ~ContactBook() = default;

    virtual std::size_t size() const = 0;
    // Valid while the book lives.
    virtual ContactView view(std::size_t position) const = 0;
    // Equal, non-zero keys at two positions (of this book or another) promise equal contacts, so
    // work done for one may be reused for the other; 0 promises nothing.
    virtual std::uint64_t contentKey(std::size_t) const { return 0; }

    Contact contact(std::size_t position) const { return view(position).contact(); }
};

} // namespace DialcoveCore
