#include "Platform/Contacts/AddressBook.hpp"

#include "Platform/Contacts/AddressBookCache.hpp"
#include "Platform/Contacts/AddressBookError.hpp"
#include "Platform/Contacts/AddressBookLogging.hpp"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

using DialcoveCore::Contact;

AddressBook::AddressBook(AddressBookSettings settings, FolderAccessCheck canRead)
    : settings_(std::move(settings)),
      canRead_(canRead ? std::move(canRead) : FolderAccessCheck(&folderIsReadable)),
      cache_(std::make_shared<AddressBookCache>()) {}

bool AddressBook::folderIsReadable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && ::access(QFile::encodeName(folder).constData(), R_OK | X_OK) == 0;
}

AddressBook::Authorization AddressBook::authorization() const {
    const QString folder = settings_.folder();
    if (settings_.isFolderForced() && !canRead_(folder))
        return Authorization::restricted;
    switch (settings_.consent()) {
    case AddressBookSettings::Consent::none:
        return Authorization::notDetermined;
    case AddressBookSettings::Consent::declined:
        return Authorization::denied;
    case AddressBookSettings::Consent::given:
        break;
    }
    return canRead_(folder) ? Authorization::authorized : Authorization::denied;
}

std::shared_ptr<const AddressBookSnapshot> AddressBook::read(const std::function<bool()>& isCancelled) const {
    if (settings_.consent() != AddressBookSettings::Consent::given)
        throw AddressBookError("reading contacts was not allowed");
    const QString folder = settings_.folder();
    if (!canRead_(folder))
        throw AddressBookError("the contacts folder cannot be read");
    return cache_->read(QFile::encodeName(folder).toStdString(), isCancelled);
}

std::optional<std::vector<Contact>>
AddressBook::readContacts(const std::function<bool()>& isCancelled) const {
    const std::shared_ptr<const AddressBookSnapshot> book = read(isCancelled);
    if (!book)
        return std::nullopt;
    std::vector<Contact> contacts;
    contacts.reserve(book->size());
    for (std::size_t position = 0; position < book->size(); ++position)
        contacts.push_back(book->contact(position));
    return contacts;
}

std::optional<QString> AddressBook::cardFile(const DialcoveCore::ContactID& id) const {
    if (authorization() != Authorization::authorized)
        return std::nullopt;
    std::shared_ptr<const AddressBookSnapshot> book = cache_->latest();
    try {
        if (!book)
            book = read({});
    } catch (const AddressBookError& error) {
        qCWarning(lcAddressBook) << "cannot find a card:" << error.what();
        return std::nullopt;
    }
    const std::optional<std::size_t> position = book ? book->find(id.rawValue) : std::nullopt;
    if (!position)
        return std::nullopt;
    const std::string path =
        QFile::encodeName(settings_.folder()).toStdString() + "/" + book->fileOf(*position);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return displayPath(path);
}

std::shared_ptr<AddressBookJournal> AddressBook::journal() const {
    return cache_->journal();
}

} // namespace Platform
