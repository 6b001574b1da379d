#include "MurvelUI/Controls/DefaultAction.hpp"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>

namespace MurvelUI {

QShortcut* pressOnReturn(QWidget* owner, QAbstractButton* button) {
    auto* shortcut = new QShortcut(owner);
    shortcut->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, owner, [target = QPointer<QAbstractButton>(button)] {
        if (target && target->isEnabled() && target->isVisible())
            target->click();
    });
    return shortcut;
}

bool clickOnReturn(QAbstractButton* button, QKeyEvent* event) {
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
        event->modifiers() != Qt::NoModifier)
        return false;
    button->click();
    event->accept();
    return true;
}

} // namespace MurvelUI
