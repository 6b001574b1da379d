#include "Dialcove/Services/ContactsPermissionAdapter.hpp"

#include "Dialcove/Async/MainThread.hpp"

namespace Dialcove {

ContactsPermissionAdapter::ContactsPermissionAdapter(Platform::AddressBookAccess& access) : access_(access) {}

ContactPermission ContactsPermissionAdapter::status() const {
    assertMainThread();
    return contactPermission(access_.authorization());
}

QFuture<void> ContactsPermissionAdapter::request() {
    assertMainThread();
    // The layer asks only while no answer is recorded, and finishes at once otherwise.
    return access_.requestAccess();
}

bool ContactsPermissionAdapter::openSettings() {
    assertMainThread();
    return access_.openAccessSettings();
}

} // namespace Dialcove
