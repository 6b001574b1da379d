#pragma once

#include "Platform/Desktop/WindowSystem.hpp"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <string>
#include <unordered_map>
#include <vector>

struct xcb_connection_t;

namespace Platform {

// The one reader of X events for the layer. It filters Qt's own xcb connection and hands the events
// the layer needs to its listeners: key presses that reach the root window (only our key grabs
// put them there), raw button presses, keymap changes and property changes on the root window.
// Under any other Qt platform it finds no X connection, stays silent and isAvailable() is false.
// It must outlive everything built on it (hot key, outside clicks, panels).
//
// It is also the X11 backend of the windowing system as the app sees it (WindowSystem): the one
// object of the layer the composition root makes.
class X11EventHub final : public QObject, public QAbstractNativeEventFilter, public WindowSystem {
    Q_OBJECT

public:
    explicit X11EventHub(QObject* parent = nullptr);
    ~X11EventHub() override;

    bool isAvailable() const { return connection_ != nullptr; }
    xcb_connection_t* connection() const { return connection_; }
    quint32 rootWindow() const { return root_; }

    // The atom of `name`, interned once and cached; 0 without a connection.
    quint32 atom(const char* name) const;

    // Adds `mask` to the root window's event mask of this client, keeping what Qt selected there.
    void selectRootEvents(quint32 mask);

    // Raw button presses are selected on the root window while at least one caller wants them.
    void wantRawButtonPresses(bool want);

    // A compositing manager owns the _NET_WM_CM_Sn selection of the screen.
    bool compositorRunning() const override;
    std::unique_ptr<FocusHandoff> makeFocusHandoff() override;
    std::unique_ptr<OutsideClickMonitor> makeOutsideClickMonitor(QObject* parent = nullptr) override;
    std::unique_ptr<HotKeyRegistrar> makeHotKeyRegistrar(QObject* parent = nullptr) override;
    QRect frameOnScreen(const QWindow& window) const override;
    // A client owns the _NET_SYSTEM_TRAY_Sn selection of the screen.
    bool systemTrayRunning() const override;
    // Managed under a Wayland session, where the X server is XWayland.
    PanelMode panelMode() const override;
    // Sets the window's _NET_STARTUP_ID and, once it shows, ends the start's startup notification.
    void activateWith(QWindow& window, const Activation& activation) override;
    // The startup-notification message that ends the start `id`.
    static QByteArray startupRemoval(const QByteArray& id);

    // The X windows of this application's visible top-level windows.
    std::vector<quint32> ownWindows() const;

    // The windows under the pointer, from the root's child down to the deepest one.
    std::vector<quint32> windowsUnderPointer() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A key event delivered to the root window; `state` carries the modifier and lock bits.
    void keyPressed(quint8 keycode, quint16 state, quint32 time);
    void keyReleased(quint8 keycode, quint16 state, quint32 time);
    // An XInput2 raw press of pointer button `button` anywhere on the display.
    void rawButtonPressed(quint32 button);
    // The keyboard mapping or the modifier map changed (core MappingNotify or an XKB map change).
    void keymapChanged();
    void rootPropertyChanged(quint32 atom);

private:
    void selectRawButtonPresses(bool on);
    // Some client owns the selection `prefix` + this screen's number.
    bool selectionOwned(const char* prefix) const;

    xcb_connection_t* connection_ = nullptr;
    quint32 root_ = 0;
    int screen_ = 0;
    quint8 xinputOpcode_ = 0;
    quint8 xkbFirstEvent_ = 0;
    int rawWanted_ = 0;
    bool underWayland_ = false;
    mutable std::unordered_map<std::string, quint32> atoms_;
};

} // namespace Platform
