#pragma once

#include <QObject>
#include <QRect>

class QWindow;

namespace Platform {

// Tells when the user presses a pointer button outside a window, without taking the click from the
// window it lands in. Reports the first such press, then stops. A backend implements it.
class OutsideClickMonitor : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Watches for presses outside `window` and the windows it opened (its menus and pop-ups).
    // Presses inside `passThrough` (global coordinates) are left to their target.
    virtual void start(QWindow* window, const QRect& passThrough = {}) = 0;
    virtual void stop() = 0;
    virtual bool isWatching() const = 0;

signals:
    void outsideClicked();
};

} // namespace Platform
