#include "Platform/Contacts/AddressBookSnapshot.hpp"

namespace Platform {

AddressBookSnapshot::AddressBookSnapshot(std::vector<std::shared_ptr<const ParsedCardFile>> files,
                                         std::vector<Position> order)
    : files_(std::move(files)), order_(std::move(order)) {}

DialcoveCore::ContactView AddressBookSnapshot::view(std::size_t position) const {
    const Position& at = order_[position];
    return files_[at.file]->contacts.view(at.card);
}

std::uint64_t AddressBookSnapshot::contentKey(std::size_t position) const {
    const Position& at = order_[position];
    constexpr int kCardBits = 24;
    if (at.card >= (std::uint32_t{1} << kCardBits))
        return 0;
    return (files_[at.file]->serial << kCardBits) | at.card;
}

const std::string& AddressBookSnapshot::fileOf(std::size_t position) const {
    return files_[order_[position].file]->relative;
}

std::optional<std::size_t> AddressBookSnapshot::find(std::string_view id) const {
    for (std::size_t position = 0; position < order_.size(); ++position)
        if (view(position).id() == id)
            return position;
    return std::nullopt;
}

} // namespace Platform
