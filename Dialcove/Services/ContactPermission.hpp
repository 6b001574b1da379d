#pragma once

#include "DialcoveCore/ContactsPermission.hpp"
#include "Platform/Contacts/AddressBook.hpp"

namespace Dialcove {

// The address-book authorization as the app sees it.
// Two on purpose: this one is what the views show; the guard rules on DialcoveCore::ContactsPermission.
enum class ContactPermission { unknown, denied, restricted, allowed };

// The app's reading of the address book's authorization. A value it does not know counts as
// restricted, so the app offers neither a request nor a reload for it.
ContactPermission contactPermission(Platform::AddressBook::Authorization authorization);

// The model's permission for the app's: what the session hands to its guard.
DialcoveCore::ContactsPermission corePermission(ContactPermission permission);

} // namespace Dialcove
