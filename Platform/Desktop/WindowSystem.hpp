#pragma once

#include <QObject>
#include <memory>

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
};

} // namespace Platform
