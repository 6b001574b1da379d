#pragma once

#include "Dialcove/Services/ContactOutputService.hpp"

namespace Dialcove {

// The clipboard and desktop of snapshot mode: nothing is copied or opened, and every operation
// reports `succeeds`, so a scenario can show an action's failure notice. Main thread only.
class FixtureOutput final : public ContactOutputService {
public:
    explicit FixtureOutput(bool succeeds) : succeeds_(succeeds) {}

    bool succeeds() const { return succeeds_; }

    bool copy(const std::string&) override { return succeeds_; }
    QCoro::Task<bool> open(DialcoveCore::ActionRequest request) override;
    QCoro::Task<bool> openContact(DialcoveCore::ContactID id) override;

private:
    bool succeeds_;
};

} // namespace Dialcove
