#pragma once

#include "Dialcove/Services/ContactRecentStorage.hpp"

namespace Dialcove {

// The recent contacts of snapshot mode, kept in memory only: nothing reaches the user's files.
class FixtureRecents final : public ContactRecentStorage {
public:
    explicit FixtureRecents(std::vector<DialcoveCore::ContactID> ids = {}) : ids_(std::move(ids)) {}

    std::vector<DialcoveCore::ContactID> ids() const override { return ids_; }
    void setIds(const std::vector<DialcoveCore::ContactID>& ids) override { ids_ = ids; }

private:
    std::vector<DialcoveCore::ContactID> ids_;
};

} // namespace Dialcove
