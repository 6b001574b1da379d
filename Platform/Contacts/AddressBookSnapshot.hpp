#pragma once

#include "DialcoveCore/ContactBook.hpp"
#include "Platform/Contacts/ParsedCardFile.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

// The address book as one reading found it: every contact in the book's fixed order, read in
// place from the files' packed contacts, which it shares with the store's cache. Immutable; the
// store hands out the same snapshot again while nothing changed.
class AddressBookSnapshot final : public DialcoveCore::ContactBook {
public:
    struct Position {
        std::uint32_t file; // in files
        std::uint32_t card; // in that file's contacts
    };

    AddressBookSnapshot(std::vector<std::shared_ptr<const ParsedCardFile>> files,
                        std::vector<Position> order);

    std::size_t size() const override { return order_.size(); }
    DialcoveCore::ContactView view(std::size_t position) const override;
    // The same for the same card of the same reading of a file.
    std::uint64_t contentKey(std::size_t position) const override;

    // The file of the contact at `position`, below the folder.
    const std::string& fileOf(std::size_t position) const;
    // The position of the contact with this identifier, if any.
    std::optional<std::size_t> find(std::string_view id) const;

private:
    std::vector<std::shared_ptr<const ParsedCardFile>> files_;
    std::vector<Position> order_;
};

} // namespace Platform
