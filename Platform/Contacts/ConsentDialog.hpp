#pragma once

#include "Platform/Contacts/AddressBook.hpp"

#include <QDialog>

class QLabel;

namespace Platform {

// Asks once whether Dialcove may read the address book, saying what it reads and that it never
// changes a contact. "Allow" records the consent, "Don't Allow" records the refusal; closing the
// window records nothing, so the question comes again next time.
class ConsentDialog : public QDialog {
    Q_OBJECT

public:
    explicit ConsentDialog(AddressBook book, QWidget* parent = nullptr);

private:
    void chooseFolder();
    void showFolder();
    // Records the answer; when the file does not take it, says so and keeps the dialog open.
    bool record(AddressBookSettings::Consent consent);
    void showNotSaved();

    AddressBook book_;
    QLabel* folder_ = nullptr;
    QLabel* error_ = nullptr;
};

} // namespace Platform
