#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace DialcoveCore {

// The address-book authorization as the model sees it. The raw value is the case name.
// Two on purpose: this Qt-free one is what the guard rules on; the app's is Dialcove::ContactPermission.
enum class ContactsPermission { notDetermined, authorized, denied, restricted };

inline constexpr std::array<ContactsPermission, 4> allContactsPermissions{
    ContactsPermission::notDetermined, ContactsPermission::authorized, ContactsPermission::denied,
    ContactsPermission::restricted};

std::string_view rawValue(ContactsPermission permission);
// Only the exact case names give a permission.
std::optional<ContactsPermission> contactsPermissionFromRaw(std::string_view raw);

} // namespace DialcoveCore
