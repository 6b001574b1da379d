#pragma once

class QShortcut;
class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace MurvelUI {

// Makes Return and Enter anywhere in `owner`'s window press `button`, only while the button is
// enabled (a disabled button, or one inside a disabled parent, ignores the keys). The shortcut
// belongs to `owner`. Stands in for a dialog's default button, which Qt offers to dialogs only.
QShortcut* pressOnReturn(QWidget* owner, QAbstractButton* button);

// A focused button takes Return and Enter (without modifiers) as it takes Space: for a button's
// keyPressEvent. True when the key clicked it and the event is taken.
bool clickOnReturn(QAbstractButton* button, QKeyEvent* event);

} // namespace MurvelUI
