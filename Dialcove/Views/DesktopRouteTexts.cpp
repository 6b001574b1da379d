#include "Dialcove/Views/DesktopRouteTexts.hpp"

#include "Dialcove/Views/ShortcutCaps.hpp"

#include <QCoreApplication>

namespace Dialcove {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Dialcove", text);
}

} // namespace

QStringList routeShortcutCaps(const DesktopRoutes& routes, const DialcoveCore::Shortcut& shortcut) {
    switch (routes.hotKeyRoute()) {
    case DesktopRoutes::HotKeyRoute::keyGrab:
        return shortcutCaps(shortcut);
    case DesktopRoutes::HotKeyRoute::portal: {
        QStringList caps;
        for (const QString& part : routes.portalTrigger().split(u'+', Qt::SkipEmptyParts))
            if (!part.trimmed().isEmpty())
                caps << part.trimmed();
        return caps;
    }
    case DesktopRoutes::HotKeyRoute::desktopSettings:
        break;
    }
    return {};
}

QString routeShortcutNote(const DesktopRoutes& routes, bool enabled, bool conflict) {
    if (routes.hotKeyRoute() == DesktopRoutes::HotKeyRoute::desktopSettings)
        return tr("This desktop sets global shortcuts in its own keyboard settings. Add one there that "
                  "runs \u201Cdialcove\u201D.");
    if (!routes.trayAvailable() && !routes.hotKeyWorks(enabled, conflict))
        return tr("With no tray icon here, open Dialcove with a shortcut in your desktop\u2019s keyboard "
                  "settings that runs \u201Cdialcove\u201D.");
    if (routes.hotKeyRoute() == DesktopRoutes::HotKeyRoute::portal && routes.portalTrigger().isEmpty())
        return tr("No key is set for it yet. Choose one in your desktop\u2019s keyboard settings.");
    return {};
}

} // namespace Dialcove
