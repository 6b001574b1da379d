#pragma once

#include "Platform/Contacts/AddressBook.hpp"
#include "Platform/Contacts/ClosingDialog.hpp"

#include <functional>

class QDialogButtonBox;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace Platform {

// Asks once whether Dialcove may read the address book, saying what it reads and that it never
// changes a contact. "Allow" (also Return) records the consent, "Don't Allow" (also Escape)
// records the refusal; closing the window records nothing, so the question comes again next time.
// An answer the settings file does not take still holds until Dialcove quits: the dialog says so
// and waits for an OK. It is as tall as its texts at its width.
class ConsentDialog : public ClosingDialog {
    Q_OBJECT

public:
    // Asks the user for a folder, starting at the one given; empty when they cancel.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;

    // `chooser` defaults to the desktop's folder picker.
    explicit ConsentDialog(AddressBook book, FolderChooser chooser = {}, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseFolder();
    void showFolder();
    void answer(AddressBookSettings::Consent consent);
    // Puts `text` under the folder line and fits the window to it.
    void say(const QString& text);

    AddressBook book_;
    FolderChooser chooser_;
    QLabel* folder_ = nullptr;
    QLabel* error_ = nullptr;
    QPushButton* choose_ = nullptr;
    QPushButton* allow_ = nullptr;
    QPushButton* decline_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace Platform
