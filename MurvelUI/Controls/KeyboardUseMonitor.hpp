#pragma once

#include <QObject>
#include <functional>

namespace MurvelUI {

// Tells its owner that a key went down anywhere in the application: while started, an application
// event filter that calls the handler for every key press (and the shortcut check that comes before
// one), and never takes or changes the event. Mouse events, and Shift, Control, Alt or Super
// pressed alone, never count; a key pressed with them does.
//
// One monitor installs at most one filter: `start` while started does nothing, `stop` while stopped
// does nothing. A monitor that goes away stops itself, so its handler is never called afterwards.
// Main thread only.
class KeyboardUseMonitor final : public QObject {
    Q_OBJECT
public:
    explicit KeyboardUseMonitor(QObject* parent = nullptr);
    ~KeyboardUseMonitor() override;

    void start(std::function<void()> handler);
    void stop();
    bool isInstalled() const { return installed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> handler_;
    bool installed_ = false;
};

} // namespace MurvelUI
