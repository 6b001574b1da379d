#pragma once

#include <QObject>
#include <QString>

namespace Dialcove {

// The ways this desktop gives the user to open the panel, for the views to say: the tray icon (when
// a tray is there), the global hot key and what puts it in force, and, always, starting the program
// again, which a shortcut of the desktop's own keyboard settings can do. Main thread only; a setter
// given the value it holds does not notify.
class DesktopRoutes final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool trayAvailable READ trayAvailable WRITE setTrayAvailable NOTIFY trayAvailableChanged)
    Q_PROPERTY(HotKeyRoute hotKeyRoute READ hotKeyRoute WRITE setHotKeyRoute NOTIFY hotKeyRouteChanged)
    Q_PROPERTY(QString portalTrigger READ portalTrigger WRITE setPortalTrigger NOTIFY portalTriggerChanged)

public:
    enum class HotKeyRoute {
        // The program holds the key itself (a key grab in an X11 session).
        keyGrab,
        // The desktop's global-shortcuts portal holds it, on the trigger the user chose there.
        portal,
        // The program cannot hold one here: the desktop's keyboard settings can run `dialcove`.
        desktopSettings,
    };
    Q_ENUM(HotKeyRoute)

    using QObject::QObject;

    bool trayAvailable() const { return trayAvailable_; }
    void setTrayAvailable(bool available);
    HotKeyRoute hotKeyRoute() const { return hotKeyRoute_; }
    void setHotKeyRoute(HotKeyRoute route);
    // How the portal says its shortcut is triggered ("Ctrl+Alt+K"); empty while none is set.
    const QString& portalTrigger() const { return portalTrigger_; }
    void setPortalTrigger(const QString& trigger);

    // Whether the hot key opens the panel now, given the "enabled" setting and the last
    // registration's conflict.
    bool hotKeyWorks(bool enabled, bool conflict) const;

signals:
    void trayAvailableChanged();
    void hotKeyRouteChanged();
    void portalTriggerChanged();

private:
    bool trayAvailable_ = true;
    HotKeyRoute hotKeyRoute_ = HotKeyRoute::keyGrab;
    QString portalTrigger_;
};

} // namespace Dialcove
