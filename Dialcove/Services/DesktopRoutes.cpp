#include "Dialcove/Services/DesktopRoutes.hpp"

namespace Dialcove {

void DesktopRoutes::setTrayAvailable(bool available) {
    if (available == trayAvailable_)
        return;
    trayAvailable_ = available;
    emit trayAvailableChanged();
}

void DesktopRoutes::setHotKeyRoute(HotKeyRoute route) {
    if (route == hotKeyRoute_)
        return;
    hotKeyRoute_ = route;
    emit hotKeyRouteChanged();
}

void DesktopRoutes::setPortalTrigger(const QString& trigger) {
    if (trigger == portalTrigger_)
        return;
    portalTrigger_ = trigger;
    emit portalTriggerChanged();
}

bool DesktopRoutes::hotKeyWorks(bool enabled, bool conflict) const {
    if (!enabled)
        return false;
    switch (hotKeyRoute_) {
    case HotKeyRoute::keyGrab:
        return !conflict;
    case HotKeyRoute::portal:
        return !portalTrigger_.isEmpty();
    case HotKeyRoute::desktopSettings:
        break;
    }
    return false;
}

} // namespace Dialcove
