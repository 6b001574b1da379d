#include "MurvelUI/Controls/KeyboardUseTracker.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QEvent>
#include <QWidget>

namespace MurvelUI {

KeyboardUseTracker::KeyboardUseTracker(QWidget* host) : QObject(host), host_(host) {
    host_->installEventFilter(this);
    watchWindow();
    publish();
}

void KeyboardUseTracker::publish() {
    MurvelEnvironment::of(host_)->setKeyboardUsed(keyboardUsed_);
}

void KeyboardUseTracker::setKeyboardUsed(bool used) {
    if (used == keyboardUsed_)
        return;
    keyboardUsed_ = used;
    publish();
    emit keyboardUsedChanged(used);
}

void KeyboardUseTracker::install() {
    QPointer<KeyboardUseTracker> self(this);
    keys_.start([self] {
        if (self)
            self->setKeyboardUsed(true);
    });
}

void KeyboardUseTracker::watchWindow() {
    QWidget* current = host_->window();
    if (current == watchedWindow_)
        return;
    if (watchedWindow_ && watchedWindow_ != host_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = current;
    if (current != host_)
        current->installEventFilter(this);
}

bool KeyboardUseTracker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_) {
        switch (event->type()) {
        case QEvent::Show:
            watchWindow();
            publish();
            appearsActive_ = host_->window()->isActiveWindow();
            if (appearsActive_)
                install();
            break;
        case QEvent::Hide:
            keys_.stop();
            break;
        case QEvent::ParentChange:
            watchWindow();
            publish();
            break;
        default:
            break;
        }
    }
    if (watched == watchedWindow_) {
        if (event->type() == QEvent::WindowActivate)
            activeChanged(true);
        else if (event->type() == QEvent::WindowDeactivate)
            activeChanged(false);
    }
    return false;
}

void KeyboardUseTracker::activeChanged(bool active) {
    if (active == appearsActive_)
        return;
    appearsActive_ = active;
    if (!host_->isVisible())
        return;
    if (active) {
        setKeyboardUsed(false);
        install();
    } else {
        keys_.stop();
    }
}

} // namespace MurvelUI
