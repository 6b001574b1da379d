#include "MurvelUI/DefaultAction.hpp"

#include <QAbstractButton>
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

} // namespace MurvelUI
