#include "Platform/X11/X11OutsideClickMonitor.hpp"

#include "Platform/X11/X11EventHub.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <algorithm>

namespace Platform {

namespace {

// X numbers the wheel's four directions as buttons 4 to 7.
bool isScrollButton(quint32 button) {
    return button >= 4 && button <= 7;
}

} // namespace

X11OutsideClickMonitor::X11OutsideClickMonitor(X11EventHub& hub, QObject* parent)
    : OutsideClickMonitor(parent), hub_(hub) {
    connect(&hub_, &X11EventHub::rawButtonPressed, this, &X11OutsideClickMonitor::rawButtonPressed);
}

X11OutsideClickMonitor::~X11OutsideClickMonitor() {
    stop();
}

void X11OutsideClickMonitor::start(QWindow* window, const QRect& passThrough) {
    stop();
    window_ = window;
    passThrough_ = passThrough;
    watching_ = true;
    qApp->installEventFilter(this);
    hub_.wantRawButtonPresses(true);
}

void X11OutsideClickMonitor::stop() {
    if (!watching_)
        return;
    watching_ = false;
    ++generation_;
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
    hub_.wantRawButtonPresses(false);
}

bool X11OutsideClickMonitor::belongsToWatched(const QWindow* window) const {
    for (const QWindow* w = window; w != nullptr;
         w = w->transientParent() ? w->transientParent() : w->parent())
        if (w == window_)
            return true;
    return false;
}

bool X11OutsideClickMonitor::eventFilter(QObject* watched, QEvent* event) {
    // Every press reaches its window before its widget; looking at the window sees each one once.
    if (event->type() == QEvent::MouseButtonPress && watching_) {
        if (auto* window = qobject_cast<QWindow*>(watched)) {
            ++ownPresses_;
            const auto* press = static_cast<QMouseEvent*>(event);
            if (!belongsToWatched(window) && !passThrough_.contains(press->globalPosition().toPoint()))
                report();
        }
    }
    return false; // the press goes on to its target either way
}

void X11OutsideClickMonitor::rawButtonPressed(quint32 button) {
    if (!watching_ || isScrollButton(button))
        return;
    // A press in one of our windows comes next as a Qt event, which the application filter judges.
    // Decide once that has had its turn, and outside the native event filter.
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_, ownPresses = ownPresses_] {
            if (!watching_ || generation != generation_ || ownPresses != ownPresses_)
                return;
            // The pointer over one of our windows means that press is still on its way.
            const std::vector<quint32> path = hub_.windowsUnderPointer();
            const std::vector<quint32> own = hub_.ownWindows();
            const bool overOwnWindow = std::any_of(path.begin(), path.end(), [&own](quint32 window) {
                return std::find(own.begin(), own.end(), window) != own.end();
            });
            if (!overOwnWindow && !passThrough_.contains(QCursor::pos()))
                report();
        },
        Qt::QueuedConnection);
}

void X11OutsideClickMonitor::report() {
    stop();
    emit outsideClicked();
}

} // namespace Platform
