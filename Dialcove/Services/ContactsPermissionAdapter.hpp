#pragma once

#include "Dialcove/Services/ContactPermissionService.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"

namespace Dialcove {

// The permission service over the address book's recorded consent and the readability of its
// folder. Holds no state: every call asks the layer afresh. The privacy settings it opens are the
// layer's access dialog (folder and consent). Main thread only; `access` outlives the adapter.
class ContactsPermissionAdapter final : public ContactPermissionService {
public:
    explicit ContactsPermissionAdapter(Platform::AddressBookAccess& access);

    ContactPermission status() const override;
    QFuture<void> request() override;
    bool openSettings() override;

private:
    Platform::AddressBookAccess& access_;
};

} // namespace Dialcove
