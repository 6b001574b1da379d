#include "Platform/AddressBook.hpp"

#include "DialcoveCore/TextFolding.hpp"
#include "Platform/AddressBookError.hpp"
#include "Platform/AddressBookLogging.hpp"
#include "Platform/VCardConversion.hpp"
#include "Platform/VCardReading.hpp"
#include "Platform/VCardText.hpp"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <unordered_set>
#include <vector>

Q_LOGGING_CATEGORY(lcAddressBook, "works.murvel.dialcove.addressbook")

namespace Platform {

namespace fs = std::filesystem;
using DialcoveCore::Contact;

namespace {

// A file larger than this is not an address book a person keeps; it is skipped unread.
constexpr off_t kFileSizeLimit = off_t{256} << 20;
// Problems logged per file before the rest are only counted.
constexpr int kProblemsLoggedPerFile = 3;

struct CardFile {
    std::string relative; // below the folder, '/'-separated, as raw file-name bytes
    std::string absolute;
};

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

QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
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

// From this size a file is read into a mapping of its own (see CardFileReader).
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

// Reads up to `size` bytes of an open file into `target`: how many there were (fewer when it
// shrank since its size was read), none when reading failed.
std::optional<std::size_t> readInto(int descriptor, char* target, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t count = ::read(descriptor, target + filled, size - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    return filled;
}

// Reads card files one after another. Small files share one reused buffer; a large one (an
// export of the whole book) gets its own anonymous mapping, returned to the system as soon as
// the next file is read, so a load does not leave a file-sized hole in the heap behind it. The
// part of a mapping the cards were read from goes back as the reading moves on (see consumed),
// so a large export and the contacts made of it are not held at the same time.
class CardFileReader {
public:
    CardFileReader() = default;
    CardFileReader(const CardFileReader&) = delete;
    CardFileReader& operator=(const CardFileReader&) = delete;
    ~CardFileReader() { release(); }

    // The bytes of the file, valid until the next call; none (logged) when it cannot be read or
    // is too large. A file that grows while it is read is taken as far as it was when opened.
    std::optional<std::string_view> read(const CardFile& file, int folder) {
        release();
        // Opened relative to the folder: a shorter path to walk for each of thousands of files.
        const int descriptor = ::openat(folder, file.relative.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            qCWarning(lcAddressBook) << "skipped unreadable file" << displayPath(file.relative);
            return std::nullopt;
        }
        const auto bytes = readOpen(descriptor, file);
        ::close(descriptor);
        return bytes;
    }

    // Nothing before `offset` of the bytes last read is looked at again. Whole pages of a mapping
    // behind it are returned, a megabyte or more at a time.
    void consumed(std::size_t offset) {
        if (!mapping_)
            return;
        static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t through = std::min(offset, mappedSize_) / page * page;
        if (through < released_ + kMappedFrom)
            return;
        ::madvise(static_cast<char*>(mapping_) + released_, through - released_, MADV_DONTNEED);
        released_ = through;
    }

private:
    std::optional<std::string_view> readOpen(int descriptor, const CardFile& file) {
        struct stat info {};
        if (::fstat(descriptor, &info) != 0 || info.st_size > kFileSizeLimit) {
            qCWarning(lcAddressBook) << "skipped file too large to be an address book"
                                     << displayPath(file.relative);
            return std::nullopt;
        }
        const auto size = static_cast<std::size_t>(info.st_size);
        char* target = nullptr;
        if (size >= kMappedFrom) {
            void* mapping = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (mapping == MAP_FAILED) {
                qCWarning(lcAddressBook) << "skipped file too large to read" << displayPath(file.relative);
                return std::nullopt;
            }
            mapping_ = mapping;
            mappedSize_ = size;
            released_ = 0;
            target = static_cast<char*>(mapping);
        } else {
            buffer_.resize(size);
            target = buffer_.data();
        }
        const auto filled = readInto(descriptor, target, size);
        if (!filled) {
            qCWarning(lcAddressBook) << "skipped unreadable file" << displayPath(file.relative);
            return std::nullopt;
        }
        return std::string_view(target, *filled);
    }

    void release() {
        if (mapping_)
            ::munmap(mapping_, mappedSize_);
        mapping_ = nullptr;
        mappedSize_ = 0;
        released_ = 0;
    }

    std::string buffer_;
    void* mapping_ = nullptr;
    std::size_t mappedSize_ = 0;
    std::size_t released_ = 0; // the leading part of the mapping already returned
};

// One file's bytes as read ahead of the parser.
struct PrefetchedFile {
    enum class State { read, unreadable, leftToParser };
    State state = State::leftToParser;
    std::string bytes;
};

// Opens and reads the small files of a folder on a thread of its own, ahead of the thread that
// parses them: in a synced collection of one file per card, opening, reading and closing the
// files is a third of the time, and this way it overlaps with the parsing. The files come out in
// their order, a batch at a time, and only a few batches wait, so few bytes are in flight. A file
// of a megabyte or more is left to the parser, whose reader maps it. When no thread can be
// started, each batch is read when it is asked for.
class FilePrefetcher {
public:
    struct Batch {
        std::size_t first = 0; // the index of its first file
        std::vector<PrefetchedFile> files;
    };

    FilePrefetcher(const std::vector<CardFile>& files, int folder) : files_(files), folder_(folder) {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            qCDebug(lcAddressBook) << "reading the contacts without a thread ahead";
        }
    }

    // Stops reading ahead and waits for the thread.
    ~FilePrefetcher() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    FilePrefetcher(const FilePrefetcher&) = delete;
    FilePrefetcher& operator=(const FilePrefetcher&) = delete;

    // The next files in order; none once every file was handed out. Rethrows what stopped the thread.
    Batch next() {
        if (!thread_.joinable())
            return readBatch(handedOut_);
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !ready_.empty() || finished_; });
        if (ready_.empty()) {
            if (failure_)
                std::rethrow_exception(failure_);
            return {};
        }
        Batch batch = std::move(ready_.front());
        ready_.pop_front();
        lock.unlock();
        changed_.notify_all();
        return batch;
    }

private:
    static constexpr std::size_t kBatchFiles = 64;
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
    static constexpr std::size_t kBatchesAhead = 4;

    void run() {
        std::exception_ptr failure;
        try {
            std::size_t from = 0;
            while (from < files_.size()) {
                Batch batch = readBatch(from);
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return ready_.size() < kBatchesAhead || stopping_; });
                if (stopping_)
                    return;
                ready_.push_back(std::move(batch));
                lock.unlock();
                changed_.notify_all();
            }
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            failure_ = failure;
            finished_ = true;
        }
        changed_.notify_all();
    }

    // The files from `from` on, up to a batch's worth; moves `from` past them.
    Batch readBatch(std::size_t& from) const {
        Batch batch;
        batch.first = from;
        std::size_t bytes = 0;
        while (from < files_.size() && batch.files.size() < kBatchFiles && bytes < kBatchBytes) {
            batch.files.push_back(prefetch(files_[from++]));
            bytes += batch.files.back().bytes.size();
        }
        return batch;
    }

    PrefetchedFile prefetch(const CardFile& file) const {
        PrefetchedFile ahead;
        const int descriptor = ::openat(folder_, file.relative.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            ahead.state = PrefetchedFile::State::unreadable;
            return ahead;
        }
        struct stat info {};
        if (::fstat(descriptor, &info) == 0 && static_cast<std::size_t>(info.st_size) < kMappedFrom) {
            ahead.bytes.resize(static_cast<std::size_t>(info.st_size));
            const auto filled = readInto(descriptor, ahead.bytes.data(), ahead.bytes.size());
            ahead.state = filled ? PrefetchedFile::State::read : PrefetchedFile::State::unreadable;
            ahead.bytes.resize(filled.value_or(0));
        }
        ::close(descriptor);
        return ahead;
    }

    const std::vector<CardFile>& files_;
    const int folder_;
    std::size_t handedOut_ = 0; // read on demand when there is no thread
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    bool stopping_ = false;
    bool finished_ = false;
    std::exception_ptr failure_;
    std::thread thread_; // started in the constructor body, once everything above is in place
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
