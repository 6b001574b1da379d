#include "Dialcove/Views/ContactPermissionTexts.hpp"

#include <QCoreApplication>

namespace Dialcove {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("ContactPermission", text);
}

} // namespace

QString title(ContactPermission permission) {
    switch (permission) {
    case ContactPermission::unknown:
        return translated("Allow access to your contacts");
    case ContactPermission::denied:
        return translated("Contacts access is turned off");
    case ContactPermission::restricted:
        return translated("Contacts access is restricted");
    case ContactPermission::allowed:
        return translated("All set! Your contacts are ready.");
    }
    return translated("Contacts access is restricted");
}

QString message(ContactPermission permission) {
    switch (permission) {
    case ContactPermission::denied:
        return translated("Allow Dialcove to access Contacts in System Settings.");
    case ContactPermission::restricted:
        return translated(
            "Restrictions on this Mac prevent Contacts access. Check with the person who manages "
            "this Mac.");
    case ContactPermission::unknown:
    case ContactPermission::allowed:
        break;
    }
    return translated("Dialcove only reads: it never creates, changes or deletes a contact.");
}

} // namespace Dialcove
