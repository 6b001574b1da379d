#pragma once

#include "Dialcove/Services/ContactRecentStorage.hpp"

#include <memory>

namespace Dialcove {

// The one way the panel's objects reach the recent contacts: navigation, search, actions and the
// panel share one instance over the storage they were built with.
class ContactRecents {
public:
    explicit ContactRecents(std::shared_ptr<ContactRecentStorage> storage);

    ContactRecents(const ContactRecents&) = delete;
    ContactRecents& operator=(const ContactRecents&) = delete;

    ContactRecentStorage& storage() const { return *storage_; }

    std::vector<DialcoveCore::ContactID> ids() const { return storage_->ids(); }
    void setIds(const std::vector<DialcoveCore::ContactID>& ids) { storage_->setIds(ids); }

    // Puts `id` first, keeping the list free of repeats and at most five long.
    void record(const DialcoveCore::ContactID& id);

private:
    std::shared_ptr<ContactRecentStorage> storage_;
};

} // namespace Dialcove
