#pragma once

#include <QObject>

namespace Platform {

class X11EventHub;

// Follows the window manager's _NET_ACTIVE_WINDOW on the root window: every switch to another
// application window, ours or not, is reported once.
class X11ActiveWindowWatcher : public QObject {
    Q_OBJECT

public:
    explicit X11ActiveWindowWatcher(X11EventHub& hub, QObject* parent = nullptr);

    // The active window as last read; 0 when none is active or no window manager says.
    quint32 activeWindow() const { return active_; }

signals:
    void activeWindowChanged(quint32 window);

private:
    void rootPropertyChanged(quint32 atom);
    quint32 read() const;

    X11EventHub& hub_;
    quint32 atom_ = 0;
    quint32 active_ = 0;
};

} // namespace Platform
