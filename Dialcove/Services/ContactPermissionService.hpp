#pragma once

#include "Dialcove/Services/ContactPermission.hpp"

#include <QFuture>

namespace Dialcove {

// The app's view of its address-book access: read the status, ask the user for it, and show the
// place where the user can change it. Main thread only.
class ContactPermissionService {
public:
    virtual ~ContactPermissionService() = default;

    // Read afresh on every call.
    virtual ContactPermission status() const = 0;
    // Asks the user for access while the status is still unknown; finishes at once otherwise. The
    // future finishes when the user has answered (with an error when asking failed); the caller
    // then reads the status again.
    virtual QFuture<void> request() = 0;
    // Shows where access is given or withdrawn; true when it is on screen.
    virtual bool openSettings() = 0;
};

} // namespace Dialcove
