#pragma once

#include <QDialog>

namespace Platform {

// A dialog that says it is about to close while its window is still on the screen: whichever way it
// closes (a button, Return, Escape, the window's close button), `closing` comes before the window
// goes. A window that the dialog was opened from can take the keyboard then; once the dialog's window
// is gone, a window manager gives the focus to a window of its own choosing.
class ClosingDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    void done(int result) override;

signals:
    void closing();
};

} // namespace Platform
