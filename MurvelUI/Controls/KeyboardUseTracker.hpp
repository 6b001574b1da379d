#pragma once

#include "MurvelUI/Controls/KeyboardUseMonitor.hpp"

#include <QObject>
#include <QPointer>

class QWidget;

namespace MurvelUI {

// A window's record of keyboard use, for the kit's focus rings: while `host` is shown in the active
// window a `KeyboardUseMonitor` runs, and its first key press sets `keyboardUsed`; the window
// becoming active again clears it first, and the monitor stops while the window is not active or
// `host` is hidden. The flag is `host`'s `MurvelEnvironment::keyboardUsed`, for everything inside.
//
// The settings-like windows' chrome and the search panel's chrome each keep one. Main thread only.
class KeyboardUseTracker final : public QObject {
    Q_OBJECT
public:
    // Follows `host`'s showing, hiding and window; a child of it.
    explicit KeyboardUseTracker(QWidget* host);

    bool keyboardUsed() const { return keyboardUsed_; }
    // Whether the host's window was last seen active (from its activation events).
    bool appearsActive() const { return appearsActive_; }
    const KeyboardUseMonitor& monitor() const { return keys_; }

signals:
    void keyboardUsedChanged(bool used);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setKeyboardUsed(bool used);
    void install();
    void watchWindow();
    void publish();
    void activeChanged(bool active);

    QWidget* host_;
    bool keyboardUsed_ = false;
    bool appearsActive_ = false;
    KeyboardUseMonitor keys_;
    QPointer<QWidget> watchedWindow_;
};

} // namespace MurvelUI
