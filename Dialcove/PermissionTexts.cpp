#include "Dialcove/PermissionTexts.hpp"

#include <QCoreApplication>

namespace Dialcove {

namespace {

const char* const readOnlyPromise = "Dialcove only reads: it never creates, changes or deletes a contact.";

} // namespace

QString permissionTitle(ContactPermission permission) {
    switch (permission) {
    case ContactPermission::unknown:
        return QCoreApplication::translate("Dialcove", "Allow access to your contacts");
    case ContactPermission::denied:
        return QCoreApplication::translate("Dialcove", "Contacts access is turned off");
    case ContactPermission::restricted:
        return QCoreApplication::translate("Dialcove", "Contacts access is restricted");
    case ContactPermission::allowed:
        break;
    }
    return QCoreApplication::translate("Dialcove", "All set! Your contacts are ready.");
}

QString permissionMessage(ContactPermission permission) {
    switch (permission) {
    case ContactPermission::unknown:
        break;
    case ContactPermission::denied:
        return QCoreApplication::translate("Dialcove",
                                           "Allow Dialcove to access Contacts in System Settings.");
    case ContactPermission::restricted:
        return QCoreApplication::translate("Dialcove",
                                           "Restrictions on this Mac prevent Contacts access. Check "
                                           "with the person who manages this Mac.");
    case ContactPermission::allowed:
        break;
    }
    return QCoreApplication::translate("Dialcove", readOnlyPromise);
}

} // namespace Dialcove
