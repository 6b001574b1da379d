#include "MurvelUI/Controls/KeyboardUseMonitor.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace MurvelUI {

KeyboardUseMonitor::KeyboardUseMonitor(QObject* parent) : QObject(parent) {}

KeyboardUseMonitor::~KeyboardUseMonitor() {
    stop();
}

void KeyboardUseMonitor::start(std::function<void()> handler) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (installed_)
        return;
    handler_ = std::move(handler);
    QCoreApplication::instance()->installEventFilter(this);
    installed_ = true;
}

void KeyboardUseMonitor::stop() {
    if (!installed_)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    installed_ = false;
    handler_ = nullptr;
}

bool KeyboardUseMonitor::eventFilter(QObject*, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) && handler_) {
        // A copy: the handler may stop this monitor.
        const std::function<void()> handler = handler_;
        handler();
    }
    return false;
}

} // namespace MurvelUI
