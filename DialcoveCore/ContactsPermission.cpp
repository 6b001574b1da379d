#include "DialcoveCore/ContactsPermission.hpp"

#include "DialcoveCore/RawValue.hpp"

namespace DialcoveCore {

namespace {

constexpr std::string_view names[] = {"notDetermined", "authorized", "denied", "restricted"};

} // namespace

std::string_view rawValue(ContactsPermission permission) {
    return names[static_cast<std::size_t>(permission)];
}

std::optional<ContactsPermission> contactsPermissionFromRaw(std::string_view raw) {
    return caseWithRawValue(allContactsPermissions, raw);
}

} // namespace DialcoveCore
