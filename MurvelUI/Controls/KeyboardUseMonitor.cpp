#include "MurvelUI/Controls/KeyboardUseMonitor.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>

namespace MurvelUI {

namespace {

// A modifier pressed alone is not yet a use of the keyboard: a mouse user holding Shift or
// Control to extend a selection never meant to show the rings.
bool isModifierAlone(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

} // namespace

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
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) && handler_ &&
        !isModifierAlone(static_cast<QKeyEvent*>(event)->key())) {
        // A copy: the handler may stop this monitor.
        const std::function<void()> handler = handler_;
        handler();
    }
    return false;
}

} // namespace MurvelUI
