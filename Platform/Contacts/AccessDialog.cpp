#include "Platform/Contacts/AccessDialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Platform {

AccessDialog::AccessDialog(AddressBook book, FolderChooser chooser, QWidget* parent)
    : ClosingDialog(parent), book_(std::move(book)), chooser_(std::move(chooser)) {
    if (!chooser_)
        chooser_ = [](QWidget* owner, const QString& current) {
            return QFileDialog::getExistingDirectory(owner, tr("Contacts Folder"), current);
        };
    setWindowTitle(tr("Contacts Access"));

    auto* folderTitle = new QLabel(tr("Contacts folder"), this);
    QFont titleFont = folderTitle->font();
    titleFont.setBold(true);
    folderTitle->setFont(titleFont);

    folder_ = new QLabel(this);
    folder_->setObjectName("folder");
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    choose_ = new QPushButton(tr("Choose…"), this);
    choose_->setObjectName("chooseFolder");
    useDefault_ = new QPushButton(tr("Use Default"), this);
    useDefault_->setObjectName("useDefault");
    connect(choose_, &QPushButton::clicked, this, &AccessDialog::chooseFolder);
    connect(useDefault_, &QPushButton::clicked, this, &AccessDialog::useDefaultFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(choose_);
    folderRow->addWidget(useDefault_);

    state_ = new QLabel(this);
    state_->setObjectName("state");
    state_->setWordWrap(true);
    error_ = new QLabel(this);
    error_->setObjectName("error");
    error_->setWordWrap(true);
    error_->hide();

    allowed_ = new QCheckBox(tr("Allow Dialcove to read these contacts"), this);
    allowed_->setObjectName("allowed");
    connect(allowed_, &QCheckBox::toggled, this, &AccessDialog::setAllowed);

    auto* promise = new QLabel(tr("Dialcove never creates, changes or deletes a contact."), this);
    promise->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &AccessDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderTitle);
    layout->addLayout(folderRow);
    layout->addWidget(state_);
    layout->addWidget(error_);
    layout->addSpacing(8);
    layout->addWidget(allowed_);
    layout->addWidget(promise);
    layout->addWidget(buttons);
    setMinimumWidth(460);
    showState();
}

void AccessDialog::chooseFolder() {
    const QString chosen = chooser_(this, book_.folder());
    if (chosen.isEmpty() || chosen == book_.folder())
        return;
    folderChosen(book_.settings().setFolder(chosen));
}

void AccessDialog::useDefaultFolder() {
    if (book_.folder() == AddressBookSettings::defaultFolder())
        return;
    folderChosen(book_.settings().setFolder(QString()));
}

void AccessDialog::setAllowed(bool allowed) {
    const auto consent =
        allowed ? AddressBookSettings::Consent::given : AddressBookSettings::Consent::declined;
    if (book_.settings().consent() == consent)
        return;
    // Saved or held until Dialcove quits, the answer is in effect; the line says which.
    book_.settings().setConsent(consent);
    showState();
    emit accessChanged();
}

void AccessDialog::folderChosen(bool saved) {
    // The folder shown is read back from the file, so a choice it did not take shows as not made.
    folderNotSaved_ = !saved;
    showState();
    if (saved)
        emit accessChanged();
}

void AccessDialog::refresh() {
    showState();
}

void AccessDialog::showState() {
    const AddressBookSettings settings = book_.settings();
    const bool forced = settings.isFolderForced();
    folder_->setText(book_.folder());
    choose_->setEnabled(!forced);
    useDefault_->setEnabled(!forced && book_.folder() != AddressBookSettings::defaultFolder());

    QString state;
    switch (book_.authorization()) {
    case AddressBook::Authorization::authorized:
        state = tr("Dialcove can read this folder.");
        break;
    case AddressBook::Authorization::restricted:
        state = tr("This folder is set by %1 and cannot be read.").arg(AddressBookSettings::kFolderVariable);
        break;
    case AddressBook::Authorization::notDetermined:
    case AddressBook::Authorization::denied:
        // With consent given, only the folder itself can stand in the way.
        state = settings.consent() == AddressBookSettings::Consent::given
                    ? (QFileInfo::exists(book_.folder()) ? tr("This folder cannot be read.")
                                                         : tr("This folder does not exist."))
                    : tr("Dialcove does not read this folder until you allow it.");
        break;
    }
    if (forced && book_.authorization() != AddressBook::Authorization::restricted)
        state += QLatin1Char(' ') + tr("It is set by %1.").arg(AddressBookSettings::kFolderVariable);
    state_->setText(state);

    QStringList problems;
    if (folderNotSaved_)
        problems.append(settings.notSavedText());
    if (settings.isConsentHeldForRun())
        problems.append(settings.heldForRunText());
    const QString error = problems.join(QLatin1Char(' '));
    if (error != error_->text() || error_->isHidden() != error.isEmpty()) {
        error_->setText(error);
        error_->setVisible(!error.isEmpty());
        // A window keeps the size it was shown at; fit it to the new text's height.
        layout()->activate();
        adjustSize();
    }

    const QSignalBlocker blocker(allowed_);
    allowed_->setChecked(settings.consent() == AddressBookSettings::Consent::given);
}

} // namespace Platform
