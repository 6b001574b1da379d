#pragma once

#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/AddressBook.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <memory>

namespace Platform {

// The address book's permission on the main thread: its status, the consent dialog that asks
// for it, and the access dialog that stands in for the desktop's privacy settings. Each dialog is
// shown at most once at a time; asking again brings the open one to the front.
class AddressBookAccess : public QObject {
    Q_OBJECT

public:
    explicit AddressBookAccess(AddressBook book, AccessDialog::FolderChooser chooser = {},
                               QObject* parent = nullptr);
    ~AddressBookAccess() override;

    const AddressBook& book() const { return book_; }
    AddressBook::Authorization authorization() const { return book_.authorization(); }

    // Shows the consent dialog when no answer is recorded yet. The future finishes when the
    // dialog closes, or at once when there is nothing to ask; the caller then reads the status.
    QFuture<void> requestAccess();

    // Shows the access dialog; true once it is on screen.
    bool openAccessSettings();
    // The folder may have come or gone: an open access dialog says so again.
    void refresh();

signals:
    // The folder or the consent changed in one of the dialogs.
    void accessChanged();
    // One of the dialogs is closing, its window still on the screen: the window the user came from
    // may take the keyboard back now, before a window manager gives it to a window of its own.
    void dialogClosing();

private:
    void finishRequest();

    AddressBook book_;
    AccessDialog::FolderChooser chooser_;
    QPointer<ConsentDialog> consent_;
    QPointer<AccessDialog> access_;
    std::shared_ptr<QPromise<void>> request_;
};

} // namespace Platform
