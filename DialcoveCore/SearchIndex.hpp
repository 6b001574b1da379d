#pragma once

#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactBook.hpp"

#include <memory>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// The contacts of one session, folded once, answering a query with at most eight contacts, best
// first. Ranking tries a fixed ladder of classes (name prefix, name-word prefix, every word a
// prefix, name or company substring, e-mail substring, fuzzy name words); queries of three or more
// digits without letters search phone numbers instead. Ties keep the order the contacts were given.
// Immutable once built; new contacts mean a new index.
class SearchIndex {
public:
    static constexpr std::size_t kResultLimit = 8;

    // Contacts after the first with the same identifier are left out.
    explicit SearchIndex(const std::vector<Contact>& contacts = {});
    // The same over a book's contacts, in its order.
    explicit SearchIndex(const ContactBook& book);
    ~SearchIndex();
    SearchIndex(SearchIndex&&) noexcept;
    SearchIndex& operator=(SearchIndex&&) noexcept;

    std::vector<ContactID> search(std::string_view query) const;

    std::size_t size() const;
    // The bytes the index holds.
    std::size_t memoryUsage() const;

private:
    struct Storage;
    // Every folded text of every entry lives in a few flat arrays, so a search streams through
    // memory instead of chasing a pointer per string.
    std::unique_ptr<const Storage> storage_;
};

} // namespace DialcoveCore
