#include "Dialcove/Services/ContactRecents.hpp"

#include "DialcoveCore/RecentContacts.hpp"

namespace Dialcove {

ContactRecents::ContactRecents(std::shared_ptr<ContactRecentStorage> storage)
    : storage_(std::move(storage)) {}

void ContactRecents::record(const DialcoveCore::ContactID& id) {
    DialcoveCore::RecentContacts recents(storage_->ids());
    recents.record(id);
    storage_->setIds(recents.ids());
}

} // namespace Dialcove
