#pragma once

#include "Dialcove/Services/DesktopRoutes.hpp"
#include "DialcoveCore/Shortcut.hpp"

#include <QString>
#include <QStringList>

namespace Dialcove {

// What the panel's shortcut card and the welcome window say of the global shortcut on this desktop.

// The key caps to show: the stored shortcut where the program holds the key itself, the trigger the
// portal reports (its parts between "+") where the portal holds it, none where the desktop's own
// keyboard settings do or the portal has none yet.
QStringList routeShortcutCaps(const DesktopRoutes& routes, const DialcoveCore::Shortcut& shortcut);

// The line that says how to open Dialcove where the caps alone do not; empty when they do. With no
// tray and no hot key that works (`enabled` and `conflict` are the setting and the last
// registration's outcome), it names the desktop shortcut that runs `dialcove`.
QString routeShortcutNote(const DesktopRoutes& routes, bool enabled, bool conflict);

} // namespace Dialcove
