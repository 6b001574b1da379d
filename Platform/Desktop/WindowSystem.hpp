#pragma once

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
    virtual ~WindowSystem() = default;

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
