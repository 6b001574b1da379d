#include "Dialcove/Views/ShortcutCaps.hpp"

#include <QCoreApplication>

namespace Dialcove {

QStringList shortcutCaps(const DialcoveCore::Shortcut& shortcut) {
    QStringList caps;
    for (const std::string& part : shortcut.displayParts())
        caps << QCoreApplication::translate("KeyCaps", part.c_str());
    return caps;
}

} // namespace Dialcove
