#include "Dialcove/Views/PanelControlFocus.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/PanelKeyboard.hpp"

#include <QEvent>
#include <QWidget>

namespace Dialcove {

PanelControlFocus* PanelControlFocus::attach(QWidget* control, PanelKeyboard* keyboard) {
    return new PanelControlFocus(control, keyboard);
}

PanelControlFocus::PanelControlFocus(QWidget* control, PanelKeyboard* keyboard)
    : QObject(control), keyboard_(keyboard) {
    assertMainThread();
    control->installEventFilter(this);
}

PanelControlFocus::~PanelControlFocus() {
    if (keyboard_)
        keyboard_->setControlFocused(identity_, false);
}

bool PanelControlFocus::eventFilter(QObject* watched, QEvent* event) {
    if (keyboard_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        keyboard_->setControlFocused(identity_, event->type() == QEvent::FocusIn);
    // Hiding a focused control moves focus away without always delivering FocusOut to it.
    if (keyboard_ && event->type() == QEvent::Hide)
        keyboard_->setControlFocused(identity_, false);
    return QObject::eventFilter(watched, event);
}

} // namespace Dialcove
