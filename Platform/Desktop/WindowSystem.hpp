#pragma once

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <memory>

class QWindow;

namespace Platform {

class FocusHandoff;
class HotKeyRegistrar;
class OutsideClickMonitor;

// The windowing system the app runs on, as the app sees it: what a floating panel needs, and the
// hot key. One backend implements it (X11EventHub today); the composition root picks it, and
// nothing else in the app names the backend. It must outlive everything made from it.
class WindowSystem {
public:
    // How the desktop lets a floating panel be.
    enum class PanelMode {
        // Ours to place, above everything, taking the keyboard focus itself (an X11 session).
        overlay,
        // The desktop's to place and to focus, like any window (an X client in a Wayland session:
        // there a window the desktop does not manage never gets the keyboard).
        managed,
    };

    // What the desktop handed a start of the program so that its window may take the focus.
    struct Activation {
        // XDG_ACTIVATION_TOKEN
        QByteArray token;
        // DESKTOP_STARTUP_ID
        QByteArray startupId;
        bool isEmpty() const { return token.isEmpty() && startupId.isEmpty(); }
    };

    virtual ~WindowSystem() = default;

    virtual PanelMode panelMode() const { return PanelMode::overlay; }
    // An XEmbed system tray runs on the display now.
    virtual bool systemTrayRunning() const { return false; }
    // Before `window` is shown: lets it take the focus by `activation` and ends the start's busy
    // feedback once it is shown. Nothing happens for an empty one.
    virtual void activateWith(QWindow& window, const Activation& activation) {
        Q_UNUSED(window)
        Q_UNUSED(activation)
    }

    // Windows may have an alpha channel: a compositing manager runs.
    virtual bool compositorRunning() const = 0;
    virtual std::unique_ptr<FocusHandoff> makeFocusHandoff() = 0;
    virtual std::unique_ptr<OutsideClickMonitor> makeOutsideClickMonitor(QObject* parent = nullptr) = 0;
    virtual std::unique_ptr<HotKeyRegistrar> makeHotKeyRegistrar(QObject* parent = nullptr) = 0;

    // Where `window` is on the screen now, as the display server says; empty when it cannot say.
    // Qt's own record goes stale for a window another program holds and moves (a tray icon inside
    // a tray that lays itself out after embedding it): nothing tells the window it moved.
    virtual QRect frameOnScreen(const QWindow& window) const = 0;
};

} // namespace Platform
