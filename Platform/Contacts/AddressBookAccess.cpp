#include "Platform/Contacts/AddressBookAccess.hpp"

#include "Platform/Contacts/AddressBookLogging.hpp"

namespace Platform {

namespace {

QFuture<void> finishedFuture() {
    QPromise<void> promise;
    promise.start();
    promise.finish();
    return promise.future();
}

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

AddressBookAccess::AddressBookAccess(AddressBook book, AccessDialog::FolderChooser chooser, QObject* parent)
    : QObject(parent), book_(std::move(book)), chooser_(std::move(chooser)) {}

AddressBookAccess::~AddressBookAccess() {
    // A caller still waiting hears the end rather than a cancelled future.
    finishRequest();
    delete consent_;
    delete access_;
}

QFuture<void> AddressBookAccess::requestAccess() {
    if (consent_ && request_) {
        bringToFront(consent_);
        return request_->future();
    }
    if (book_.authorization() != AddressBook::Authorization::notDetermined)
        return finishedFuture();

    request_ = std::make_shared<QPromise<void>>();
    request_->start();
    consent_ = new ConsentDialog(book_, chooser_);
    consent_->setAttribute(Qt::WA_DeleteOnClose);
    const QString folderBefore = book_.folder();
    connect(consent_, &QDialog::finished, this, [this, folderBefore] {
        const auto consent = book_.settings().consent();
        // The dialog deletes itself later; from now on a request asks afresh.
        consent_ = nullptr;
        finishRequest();
        if (consent != AddressBookSettings::Consent::none || book_.folder() != folderBefore) {
            qCInfo(lcAddressBook) << "contacts access answered";
            emit accessChanged();
        }
    });
    connect(consent_, &ClosingDialog::closing, this, &AddressBookAccess::dialogClosing);
    bringToFront(consent_);
    return request_->future();
}

bool AddressBookAccess::openAccessSettings() {
    if (!access_) {
        access_ = new AccessDialog(book_, chooser_);
        access_->setAttribute(Qt::WA_DeleteOnClose);
        connect(access_, &AccessDialog::accessChanged, this, &AddressBookAccess::accessChanged);
        connect(access_, &ClosingDialog::closing, this, &AddressBookAccess::dialogClosing);
    }
    bringToFront(access_);
    return access_->isVisible();
}

void AddressBookAccess::refresh() {
    if (access_)
        access_->refresh();
}

void AddressBookAccess::finishRequest() {
    if (!request_)
        return;
    request_->finish();
    request_.reset();
}

} // namespace Platform
