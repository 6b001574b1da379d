#include "Platform/Contacts/AddressBook.hpp"

#include "DialcoveCore/TextFolding.hpp"
#include "Platform/Contacts/AddressBookError.hpp"
#include "Platform/Contacts/AddressBookLogging.hpp"
#include "Platform/Contacts/CardFileReader.hpp"
#include "Platform/Contacts/FilePrefetcher.hpp"
#include "Platform/VCard/VCardConversion.hpp"
#include "Platform/VCard/VCardReading.hpp"
#include "Platform/VCard/VCardText.hpp"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace Platform {

namespace fs = std::filesystem;
using DialcoveCore::Contact;

namespace {

// Problems logged per file before the rest are only counted.
constexpr int kProblemsLoggedPerFile = 3;

bool isCardFileName(const std::string& name) {
    const auto endsWith = [&](std::string_view suffix) {
        return name.size() > suffix.size() &&
               equalsIgnoringCase(std::string_view(name).substr(name.size() - suffix.size()), suffix);
    };
    return endsWith(".vcf") || endsWith(".vcard");
}

bool isHidden(const std::string& name) {
    return name.empty() || name.front() == '.';
}

// The .vcf files of the folder and of its immediate sub-folders, in byte order of their path.
std::vector<CardFile> listCardFiles(const std::string& root) {
    std::error_code error;
    fs::directory_iterator entries(root, error);
    if (error)
        throw AddressBookError("cannot list the contacts folder: " + error.message());

    std::vector<CardFile> files;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (isHidden(name))
            continue;
        std::error_code statusError;
        if (entry.is_regular_file(statusError)) {
            if (isCardFileName(name))
                files.push_back({name, entry.path().string()});
            continue;
        }
        if (!entry.is_directory(statusError))
            continue;
        std::error_code subError;
        fs::directory_iterator inner(entry.path(), subError);
        if (subError) {
            qCWarning(lcAddressBook) << "skipped unreadable collection" << displayPath(entry.path().string());
            continue;
        }
        for (const auto& file : inner) {
            const std::string fileName = file.path().filename().string();
            std::error_code fileError;
            if (!isHidden(fileName) && isCardFileName(fileName) && file.is_regular_file(fileError))
                files.push_back({name + "/" + fileName, file.path().string()});
        }
    }
    std::sort(files.begin(), files.end(),
              [](const CardFile& a, const CardFile& b) { return a.relative < b.relative; });
    return files;
}

// The contacts folder held open while its files are read.
struct OpenFolder {
    explicit OpenFolder(const std::string& path)
        : descriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (descriptor < 0)
            throw AddressBookError("cannot open the contacts folder");
    }
    ~OpenFolder() { ::close(descriptor); }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int descriptor;
};

// File names are bytes: keep what is valid UTF-8 and percent-encode the rest (and "%" itself), so
// the identifier is text and two names never share one.
std::string escapedPath(const std::string& relative) {
    std::string out;
    std::size_t i = 0;
    while (i < relative.size()) {
        const std::string_view rest = std::string_view(relative).substr(i);
        const auto byte = static_cast<unsigned char>(relative[i]);
        const std::size_t length = utf8SequenceLength(relative, i);
        if (length == 0 || byte == '%') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
            ++i;
            continue;
        }
        out.append(rest.substr(0, length));
        i += length;
    }
    return out;
}

using CardSink = std::function<bool(const VCard&, std::string&&)>;

// Reads the cards in the bytes of one file, logging what was skipped. `onCard` gets each card
// with its contact identifier and returns false to stop; `onConsumed` hears how far the reading
// is done with the bytes.
void readCardBytes(std::string_view bytes, const CardFile& file,
                   const std::function<void(std::size_t)>& onConsumed, const CardSink& onCard) {
    std::string fallbackPrefix; // "vcf:<path>#", made on the first card without a UID
    int problems = 0;
    readVCards(
        bytes,
        [&](VCard&& card) {
            std::string id = contactIDOf(card, {});
            if (id.empty()) {
                if (fallbackPrefix.empty())
                    fallbackPrefix = "vcf:" + escapedPath(file.relative) + "#";
                id = fallbackPrefix + std::to_string(card.position);
            }
            return onCard(card, std::move(id));
        },
        [&](std::size_t position, std::string_view problem) {
            if (++problems <= kProblemsLoggedPerFile)
                qCWarning(lcAddressBook).nospace()
                    << displayPath(file.relative) << " card " << position << ": "
                    << QString::fromUtf8(problem.data(), static_cast<qsizetype>(problem.size()));
        },
        contactProperties(), onConsumed);
    if (problems > kProblemsLoggedPerFile)
        qCWarning(lcAddressBook) << displayPath(file.relative) << "had" << problems - kProblemsLoggedPerFile
                                 << "more problems";
}

// Reads one file through `reader` and then its cards, as readCardBytes.
void readCardFile(CardFileReader& reader, const CardFile& file, int folder, const CardSink& onCard) {
    if (const auto bytes = reader.read(file, folder))
        readCardBytes(
            *bytes, file, [&](std::size_t consumed) { reader.consumed(consumed); }, onCard);
}

struct OrderKey {
    std::string family;
    std::string given;
    std::string formatted;
};

OrderKey orderKey(const Contact& contact) {
    const std::string& family = contact.familyName();
    return {DialcoveCore::foldedForm(family.empty() ? contact.displayName() : family),
            DialcoveCore::foldedForm(contact.givenName()), DialcoveCore::foldedForm(contact.formattedName())};
}

} // namespace

AddressBook::AddressBook(AddressBookSettings settings, FolderAccessCheck canRead)
    : settings_(std::move(settings)),
      canRead_(canRead ? std::move(canRead) : FolderAccessCheck(&folderIsReadable)) {}

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

std::optional<std::vector<Contact>>
AddressBook::readContacts(const std::function<bool()>& isCancelled) const {
    if (settings_.consent() != AddressBookSettings::Consent::given)
        throw AddressBookError("reading contacts was not allowed");
    const QString folder = settings_.folder();
    if (!canRead_(folder))
        throw AddressBookError("the contacts folder cannot be read");
    const std::string root = QFile::encodeName(folder).toStdString();
    const std::vector<CardFile> files = listCardFiles(root);
    const OpenFolder opened(root);
    const auto stopped = [&] { return isCancelled && isCancelled(); };

    std::vector<Contact> contacts;
    contacts.reserve(files.size());
    {
        // Gone, with the last file's bytes, before the sort needs its keys.
        FilePrefetcher prefetcher(files, opened.descriptor);
        CardFileReader reader;
        std::unordered_set<std::string> seen;
        seen.reserve(files.size());
        bool cancelled = false;
        for (auto batch = prefetcher.next(); !batch.files.empty(); batch = prefetcher.next()) {
            for (std::size_t k = 0; k < batch.files.size(); ++k) {
                if (stopped())
                    return std::nullopt;
                const CardFile& file = files[batch.first + k];
                const auto onCard = [&](const VCard& card, std::string&& id) {
                    if (auto contact = contactFromVCard(card, id)) {
                        if (seen.insert(contact->id().rawValue).second)
                            contacts.push_back(std::move(*contact));
                        else
                            qCDebug(lcAddressBook)
                                << "skipped a second card with one uid in" << displayPath(file.relative);
                    }
                    cancelled = stopped();
                    return !cancelled;
                };
                PrefetchedFile& ahead = batch.files[k];
                switch (ahead.state) {
                case PrefetchedFile::State::read:
                    readCardBytes(ahead.bytes, file, {}, onCard);
                    break;
                case PrefetchedFile::State::unreadable:
                    qCWarning(lcAddressBook) << "skipped unreadable file" << displayPath(file.relative);
                    break;
                case PrefetchedFile::State::leftToParser:
                    readCardFile(reader, file, opened.descriptor, onCard);
                    break;
                }
                if (cancelled)
                    return std::nullopt;
            }
        }
    }

    // Sorted through a permutation applied in place: one list of contacts at any time.
    std::vector<std::size_t> order(contacts.size());
    {
        std::vector<OrderKey> keys;
        keys.reserve(contacts.size());
        for (const Contact& contact : contacts)
            keys.push_back(orderKey(contact));
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const OrderKey& x = keys[a];
            const OrderKey& y = keys[b];
            return std::tie(x.family, x.given, x.formatted, contacts[a].id().rawValue) <
                   std::tie(y.family, y.given, y.formatted, contacts[b].id().rawValue);
        });
    }
    // order[k] names the contact that belongs at k; each cycle of the permutation is walked once.
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        Contact held = std::move(contacts[start]);
        std::size_t at = start;
        while (order[at] != start) {
            const std::size_t from = order[at];
            contacts[at] = std::move(contacts[from]);
            order[at] = at;
            at = from;
        }
        contacts[at] = std::move(held);
        order[at] = at;
    }
    if (stopped())
        return std::nullopt;
    return contacts;
}

std::optional<QString> AddressBook::cardFile(const DialcoveCore::ContactID& id) const {
    if (authorization() != Authorization::authorized)
        return std::nullopt;
    const std::string root = QFile::encodeName(settings_.folder()).toStdString();
    std::vector<CardFile> files;
    std::optional<OpenFolder> opened;
    try {
        files = listCardFiles(root);
        opened.emplace(root);
    } catch (const AddressBookError& error) {
        qCWarning(lcAddressBook) << "cannot find a card:" << error.what();
        return std::nullopt;
    }
    CardFileReader reader;
    for (const CardFile& file : files) {
        bool found = false;
        readCardFile(reader, file, opened->descriptor, [&](const VCard& card, std::string&& cardID) {
            if (isGroupCard(card))
                return true;
            found = cardID == id.rawValue;
            return !found;
        });
        if (found)
            return displayPath(file.absolute);
    }
    return std::nullopt;
}

} // namespace Platform
