#include "Platform/Contacts/AddressBookLogging.hpp"

namespace Platform {

Q_LOGGING_CATEGORY(lcAddressBook, "works.murvel.dialcove.addressbook")

} // namespace Platform
