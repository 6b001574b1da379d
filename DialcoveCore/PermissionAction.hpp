#pragma once

#include "DialcoveCore/ContactsPermission.hpp"

namespace DialcoveCore {

// What the user can do about the current address-book authorization.
enum class PermissionAction {
    none,               // nothing to offer
    request,            // ask for access
    openSystemSettings, // send the user to where access is granted
};

// A restricted authorization is out of the user's hands, so it offers nothing.
constexpr PermissionAction permissionAction(ContactsPermission permission) {
    switch (permission) {
    case ContactsPermission::notDetermined:
        return PermissionAction::request;
    case ContactsPermission::denied:
        return PermissionAction::openSystemSettings;
    case ContactsPermission::authorized:
    case ContactsPermission::restricted:
        break;
    }
    return PermissionAction::none;
}

} // namespace DialcoveCore
