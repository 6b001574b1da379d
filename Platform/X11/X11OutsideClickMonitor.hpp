#pragma once

#include "Platform/Desktop/OutsideClickMonitor.hpp"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWindow>

namespace Platform {

class X11EventHub;

// Tells when the user presses a pointer button outside a window, without taking the click from the
// window it lands in. Presses in other programs come as XInput2 raw events on the root window;
// presses in our own windows through an application event filter. The scroll wheel (buttons 4 to
// 7) does not count. Reports the first such press, then stops.
class X11OutsideClickMonitor final : public OutsideClickMonitor {
    Q_OBJECT

public:
    explicit X11OutsideClickMonitor(X11EventHub& hub, QObject* parent = nullptr);
    ~X11OutsideClickMonitor() override;

    // Watches for presses outside `window` and the windows it opened (its menus and pop-ups).
    // Presses inside `passThrough` (global coordinates; the tray icon the panel hangs from) are left
    // to their target, whose own action then decides.
    void start(QWindow* window, const QRect& passThrough = {}) override;
    void stop() override;
    bool isWatching() const override { return watching_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWatched(const QWindow* window) const;
    void rawButtonPressed(quint32 button);
    void report();

    X11EventHub& hub_;
    QPointer<QWindow> window_;
    QRect passThrough_;
    bool watching_ = false;
    quint64 generation_ = 0; // tells a deferred raw press which watch it belongs to
    quint64 ownPresses_ = 0; // presses delivered to any of our windows
};

} // namespace Platform
