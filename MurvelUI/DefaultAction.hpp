#pragma once

class QShortcut;
class QAbstractButton;
class QWidget;

namespace MurvelUI {

// Makes Return and Enter anywhere in `owner`'s window press `button`, only while the button is
// enabled (a disabled button, or one inside a disabled parent, ignores the keys). The shortcut
// belongs to `owner`. Stands in for a dialog's default button, which Qt offers to dialogs only.
QShortcut* pressOnReturn(QWidget* owner, QAbstractButton* button);

} // namespace MurvelUI
