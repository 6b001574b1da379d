#include "Platform/Contacts/ConsentDialog.hpp"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Platform {

ConsentDialog::ConsentDialog(AddressBook book, FolderChooser chooser, QWidget* parent)
    : ClosingDialog(parent), book_(std::move(book)), chooser_(std::move(chooser)) {
    if (!chooser_)
        chooser_ = [](QWidget* owner, const QString& current) {
            return QFileDialog::getExistingDirectory(owner, tr("Contacts Folder"), current);
        };
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
        choose_ = new QPushButton(tr("Choose Folder…"), this);
        choose_->setObjectName("chooseFolder");
        // Return is the dialog's answer, never the picker, whichever button has the focus.
        choose_->setAutoDefault(false);
        connect(choose_, &QPushButton::clicked, this, &ConsentDialog::chooseFolder);
        folderRow->addWidget(choose_);
    }

    auto* buttons = new QDialogButtonBox(this);
    allow_ = buttons->addButton(tr("Allow"), QDialogButtonBox::AcceptRole);
    allow_->setObjectName("allow");
    decline_ = buttons->addButton(tr("Don't Allow"), QDialogButtonBox::RejectRole);
    decline_->setObjectName("decline");
    decline_->setAutoDefault(false);
    ok_ = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName("ok");
    ok_->hide();
    connect(allow_, &QPushButton::clicked, this, [this] { answer(AddressBookSettings::Consent::given); });
    connect(decline_, &QPushButton::clicked, this,
            [this] { answer(AddressBookSettings::Consent::declined); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        done(book_.settings().consent() == AddressBookSettings::Consent::given ? Accepted : Rejected);
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
    allow_->setDefault(true);
    allow_->setFocus();
    showFolder();
}

void ConsentDialog::keyPressEvent(QKeyEvent* event) {
    // Escape is the refusal, as the button beside the default says; once answered it is the OK.
    if (event->matches(QKeySequence::Cancel)) {
        (ok_->isVisible() ? ok_ : decline_)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ConsentDialog::chooseFolder() {
    const QString chosen = chooser_(this, book_.folder());
    if (chosen.isEmpty())
        return;
    if (!book_.settings().setFolder(chosen))
        say(book_.settings().notSavedText());
    showFolder();
}

void ConsentDialog::answer(AddressBookSettings::Consent consent) {
    if (book_.settings().setConsent(consent)) {
        done(consent == AddressBookSettings::Consent::given ? Accepted : Rejected);
        return;
    }
    // Not saved, yet in effect for this run: say so, and leave the answer itself behind.
    allow_->hide();
    decline_->hide();
    if (choose_ != nullptr)
        choose_->hide();
    ok_->show();
    ok_->setDefault(true);
    ok_->setFocus();
    say(book_.settings().heldForRunText());
}

void ConsentDialog::say(const QString& text) {
    error_->setText(text);
    error_->show();
    // A window keeps the size it was shown at; grow it to the new text's height.
    layout()->activate();
    adjustSize();
}

void ConsentDialog::showFolder() {
    folder_->setText(book_.folder());
}

} // namespace Platform
