#pragma once

#include "Dialcove/Services/ContactRecentStorage.hpp"

#include <vector>

// Recent contacts in memory, as given.
class FakeContactRecentStorage final : public Dialcove::ContactRecentStorage {
public:
    std::vector<DialcoveCore::ContactID> stored;

    std::vector<DialcoveCore::ContactID> ids() const override { return stored; }
    void setIds(const std::vector<DialcoveCore::ContactID>& ids) override { stored = ids; }
};
