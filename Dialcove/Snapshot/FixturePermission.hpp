#pragma once

#include "Dialcove/Services/ContactPermissionService.hpp"

namespace Dialcove {

// Address-book access in snapshot mode: a status the scenario sets, granted by any request, and
// a settings place that opens nothing. Main thread only.
class FixturePermission final : public ContactPermissionService {
public:
    explicit FixturePermission(ContactPermission status) : status_(status) {}

    ContactPermission status() const override { return status_; }
    void setStatus(ContactPermission status) { status_ = status; }
    // Grants access whatever the status was; the future is finished already.
    QFuture<void> request() override;
    bool openSettings() override { return true; }

private:
    ContactPermission status_;
};

} // namespace Dialcove
