#include "Platform/Contacts/ConsentDialog.hpp"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Platform {

ConsentDialog::ConsentDialog(AddressBook book, QWidget* parent) : QDialog(parent), book_(std::move(book)) {
    setWindowTitle(tr("Contacts Access"));

    auto* heading = new QLabel(tr("Allow Dialcove to read your contacts?"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* body =
        new QLabel(tr("Dialcove reads the names, companies, job titles, phone numbers, e-mail addresses "
                      "and birthdays of the contact cards in this folder, so you can find them as you "
                      "type. It never creates, changes or deletes a contact."),
                   this);
    body->setWordWrap(true);

    folder_ = new QLabel(this);
    folder_->setObjectName("folder");
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    if (!book_.settings().isFolderForced()) {
        auto* choose = new QPushButton(tr("Choose Folder…"), this);
        choose->setObjectName("chooseFolder");
        connect(choose, &QPushButton::clicked, this, &ConsentDialog::chooseFolder);
        folderRow->addWidget(choose);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* allow = buttons->addButton(tr("Allow"), QDialogButtonBox::AcceptRole);
    allow->setObjectName("allow");
    allow->setDefault(true);
    QPushButton* decline = buttons->addButton(tr("Don't Allow"), QDialogButtonBox::RejectRole);
    decline->setObjectName("decline");
    connect(allow, &QPushButton::clicked, this, [this] {
        if (record(AddressBookSettings::Consent::given))
            accept();
    });
    connect(decline, &QPushButton::clicked, this, [this] {
        if (record(AddressBookSettings::Consent::declined))
            reject();
    });

    error_ = new QLabel(this);
    error_->setObjectName("error");
    error_->setWordWrap(true);
    error_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(body);
    layout->addLayout(folderRow);
    layout->addWidget(error_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    showFolder();
}

void ConsentDialog::chooseFolder() {
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Contacts Folder"), book_.folder());
    if (chosen.isEmpty())
        return;
    if (!book_.settings().setFolder(chosen))
        showNotSaved();
    showFolder();
}

bool ConsentDialog::record(AddressBookSettings::Consent consent) {
    if (book_.settings().setConsent(consent))
        return true;
    showNotSaved();
    return false;
}

void ConsentDialog::showNotSaved() {
    error_->setText(book_.settings().notSavedText());
    error_->show();
}

void ConsentDialog::showFolder() {
    folder_->setText(book_.folder());
}

} // namespace Platform
