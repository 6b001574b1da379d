#include "Dialcove/Services/ContactPermission.hpp"

namespace Dialcove {

ContactPermission contactPermission(Platform::AddressBook::Authorization authorization) {
    using Authorization = Platform::AddressBook::Authorization;
    switch (authorization) {
    case Authorization::notDetermined:
        return ContactPermission::unknown;
    case Authorization::denied:
        return ContactPermission::denied;
    case Authorization::authorized:
        return ContactPermission::allowed;
    case Authorization::restricted:
        break;
    }
    return ContactPermission::restricted;
}

DialcoveCore::ContactsPermission corePermission(ContactPermission permission) {
    using DialcoveCore::ContactsPermission;
    switch (permission) {
    case ContactPermission::unknown:
        return ContactsPermission::notDetermined;
    case ContactPermission::denied:
        return ContactsPermission::denied;
    case ContactPermission::allowed:
        return ContactsPermission::authorized;
    case ContactPermission::restricted:
        break;
    }
    return ContactsPermission::restricted;
}

} // namespace Dialcove
