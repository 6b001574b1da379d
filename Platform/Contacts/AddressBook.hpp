#pragma once

#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Platform {

class AddressBookCache;
class AddressBookJournal;
class AddressBookSnapshot;

// Tells whether a folder can be listed and its files read. Injectable, since file modes deny
// nothing to root.
using FolderAccessCheck = std::function<bool(const QString& folder)>;

// The address book Dialcove reads: a folder of .vcf files and its immediate sub-folders (the vdir
// layout CardDAV sync tools write, one collection per sub-folder). Read-only: nothing here ever
// writes to the folder. Besides its settings it holds what it read (AddressBookCache), which its
// copies share, so that a reading reads only what changed since the last; any copy may be used on
// any thread.
class AddressBook {
public:
    enum class Authorization { notDetermined, restricted, denied, authorized };

    // `canRead` defaults to the real check of the folder (folderIsReadable).
    explicit AddressBook(AddressBookSettings settings = AddressBookSettings(),
                         FolderAccessCheck canRead = {});

    // The folder exists, is a folder, and this process may list it and open what is inside.
    static bool folderIsReadable(const QString& folder);

    // A handle on the same settings file.
    AddressBookSettings settings() const { return settings_; }
    QString folder() const { return settings_.folder(); }

    // Restricted when the environment forces a folder that cannot be read (nothing in the app can
    // change that); otherwise from the recorded consent: none yet gives notDetermined, declined
    // gives denied, and given gives authorized while the folder can be read, denied when not.
    Authorization authorization() const;

    // The book as it is now (see readContacts), sharing what earlier readings of this book or its
    // copies read of files that did not change; the same book again when nothing did. None when
    // cancelled.
    std::shared_ptr<const AddressBookSnapshot> read(const std::function<bool()>& isCancelled) const;

    // Every contact, in this fixed order: folded family name (the display name standing in when
    // there is none), then folded given name, then folded formatted name, then identifier
    // (bytewise). Files are read in the byte order of their path below the folder, cards in file
    // order; of several cards with one UID the first so read wins, and group cards are left out.
    // A card without a UID is identified by its file and position ("vcf:<path below the
    // folder>#<position>").
    //
    // `isCancelled` is polled before each file and after each card; once it says true, reading
    // stops and none is returned, never part of the book. A malformed card or file is skipped and
    // logged, once per change of the file. Throws AddressBookError when Dialcove is not authorized
    // or the folder cannot be listed.
    std::optional<std::vector<DialcoveCore::Contact>>
    readContacts(const std::function<bool()>& isCancelled) const;

    // The absolute path of the .vcf file holding the contact's card, by the same rules as
    // readContacts, as the last reading found it (the book is read when none was); none when it is
    // no longer there or the book cannot be read.
    std::optional<QString> cardFile(const DialcoveCore::ContactID& id) const;

    // Where a watcher of the folder tells the readings what changed.
    std::shared_ptr<AddressBookJournal> journal() const;

private:
    AddressBookSettings settings_;
    FolderAccessCheck canRead_;
    std::shared_ptr<AddressBookCache> cache_;
};

} // namespace Platform
