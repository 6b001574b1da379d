#include "Platform/Contacts/AddressBookCache.hpp"

#include "DialcoveCore/TextFolding.hpp"
#include "Platform/Contacts/AddressBookError.hpp"
#include "Platform/Contacts/AddressBookLogging.hpp"
#include "Platform/Contacts/CardFileReader.hpp"
#include "Platform/Contacts/FilePrefetcher.hpp"
#include "Platform/VCard/VCardConversion.hpp"
#include "Platform/VCard/VCardReading.hpp"
#include "Platform/VCard/VCardText.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/statfs.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

namespace Platform {

namespace {

// Problems logged per file before the rest are only counted.
constexpr int kProblemsLoggedPerFile = 3;
// From this many files to read, a thread reads them ahead of the parser.
constexpr std::size_t kPrefetchFrom = 16;
// The coarsest file system clock there is (FAT's), in seconds: an inode changed this close to a
// reading may change again with the same identity.
constexpr std::int64_t kClockReach = 2;

std::atomic<std::uint64_t> nextSerial{1};

// The folder held open while its files are read.
struct OpenFolder {
    explicit OpenFolder(const std::string& path)
        : descriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (descriptor < 0)
            throw AddressBookError(std::string("cannot open the contacts folder: ") + std::strerror(errno));
    }
    ~OpenFolder() { ::close(descriptor); }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int descriptor;
};

// The card files of the folder and of its immediate sub-folders, by path, bytewise.
std::vector<std::string> listCardFiles(int root) {
    std::vector<std::string> files;
    std::vector<std::string> collections;
    const bool listed = listFolder(root, [&](std::string_view name, bool regular, bool folder) {
        if (regular && isCardFileName(name))
            files.emplace_back(name);
        else if (folder)
            collections.emplace_back(name);
    });
    if (!listed)
        throw AddressBookError(std::string("cannot list the contacts folder: ") + std::strerror(errno));
    for (const std::string& collection : collections) {
        const int descriptor = ::openat(root, collection.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool read =
            descriptor >= 0 && listFolder(descriptor, [&](std::string_view name, bool regular, bool) {
                if (regular && isCardFileName(name))
                    files.push_back(collection + "/" + std::string(name));
            });
        if (descriptor >= 0)
            ::close(descriptor);
        if (!read)
            qCWarning(lcAddressBook) << "skipped unreadable collection" << displayPath(collection);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A path the journal may name: a card file in the folder or in one of its sub-folders.
bool isBookPath(std::string_view relative) {
    const std::size_t slash = relative.find('/');
    if (slash == std::string_view::npos)
        return isCardFileName(relative);
    const std::string_view collection = relative.substr(0, slash);
    const std::string_view name = relative.substr(slash + 1);
    return !isHiddenName(collection) && name.find('/') == std::string_view::npos && isCardFileName(name);
}

// File systems whose files change without this machine's kernel seeing it (network and FUSE
// mounts): the watcher cannot vouch for them.
bool watcherSeesEverything(int folder) {
    struct statfs info {};
    if (::fstatfs(folder, &info) != 0)
        return false;
    switch (static_cast<std::uint32_t>(info.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE
    case 0x01021997: // 9P
    case 0x5346414F: // AFS
    case 0x00C36400: // Ceph
    case 0x73757245: // Coda
    case 0x564C:     // NCP
    case 0x01161970: // GFS2
    case 0x7461636F: // OCFS2
        return false;
    default:
        return true;
    }
}

// Eight bytes a step: only to tell one content from another, so speed counts over spread.
std::uint64_t hashOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ull;
    return hash | 1; // never 0, which means none
}

// File names are bytes: keep what is valid UTF-8 and percent-encode the rest (and "%" itself), so
// the identifier is text and two names never share one.
std::string escapedPath(const std::string& relative) {
    std::string out;
    std::size_t i = 0;
    while (i < relative.size()) {
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
        out.append(relative, i, length);
        i += length;
    }
    return out;
}

std::int64_t secondsOf(std::int64_t nanoseconds) {
    return nanoseconds / 1'000'000'000;
}

} // namespace

// One reading: the open folder, the poll, the clock and what it has read.
struct AddressBookCache::Pass {
    int folder;
    const std::function<bool()>& stopped;
    std::int64_t second; // when it began, in seconds since the epoch
    CardFileReader reader;
    std::vector<bool> fresh;   // per entry of the new list: read in this pass
    bool sameAsBefore = false; // the last file read held the very bytes read from it before
    // Reused from file to file, keeping their room.
    DialcoveCore::PackedContacts::Builder builder;
    DialcoveCore::PackedContacts::Draft draft;
    TextArena arena;

    bool stop() const { return stopped && stopped(); }
};

AddressBookCache::AddressBookCache() : journal_(std::make_shared<AddressBookJournal>()) {}

std::shared_ptr<const AddressBookSnapshot> AddressBookCache::latest() const {
    const std::lock_guard lock(latestMutex_);
    return latest_;
}

void AddressBookCache::setLatest(std::shared_ptr<const AddressBookSnapshot> book) {
    std::shared_ptr<const AddressBookSnapshot> replaced;
    const std::lock_guard lock(latestMutex_);
    replaced = std::move(latest_); // freed outside the lock, after it is released
    latest_ = std::move(book);
}

std::shared_ptr<const AddressBookSnapshot> AddressBookCache::read(const std::string& root,
                                                                  const std::function<bool()>& stopped) {
    const std::lock_guard reading(reading_);
    struct stat info {};
    if (::stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw AddressBookError("cannot list the contacts folder: it is not there");
    const AddressBookJournal::FolderIdentity identity(info.st_dev, info.st_ino);
    if (root != root_ || identity != identity_) {
        // Another folder, or another in its place: nothing read before is of it.
        entries_.clear();
        scanned_ = false;
        root_ = root;
        identity_ = identity;
        setLatest(nullptr);
    }
    const OpenFolder opened(root);
    const AddressBookJournal::Changes changes = journal_->take(root, identity);
    const bool named = scanned_ && changes.complete && watcherSeesEverything(opened.descriptor);
    // Until this reading ends whole, the next one looks at every file.
    scanned_ = false;

    Pass pass{
        opened.descriptor, stopped, static_cast<std::int64_t>(std::time(nullptr)), {}, {}, false, {}, {}, {}};
    const bool hadBook = latest() != nullptr;
    const std::optional<bool> changed = named ? updateNamed(pass, changes.paths) : updateAll(pass);
    if (!changed)
        return nullptr;
    scanned_ = true;
    if (*changed || !hadBook)
        setLatest(assemble(pass.fresh));
    if (pass.stop())
        return nullptr;
    return latest();
}

std::optional<bool> AddressBookCache::updateAll(Pass& pass) {
    const std::vector<std::string> files = listCardFiles(pass.folder);
    // The new list: each file's old entry where it is still the same, else a place to read into.
    std::vector<Entry> next;
    next.reserve(files.size());
    std::vector<std::size_t> toRead; // into files and next alike
    bool changed = false;
    auto old = entries_.begin();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& relative = files[i];
        while (old != entries_.end() && old->file->relative < relative) {
            changed = true; // gone
            ++old;
        }
        if (old != entries_.end() && old->file->relative == relative) {
            struct stat info {};
            if (old->trusted && ::fstatat(pass.folder, relative.c_str(), &info, 0) == 0 &&
                S_ISREG(info.st_mode) && CardFileIdentity::of(info) == old->identity) {
                next.push_back(std::move(*old));
                ++old;
                continue;
            }
            next.push_back(std::move(*old)); // kept should the reading stop before it
            ++old;
        } else {
            next.push_back({});
        }
        toRead.push_back(i);
    }
    if (old != entries_.end())
        changed = true;
    pass.fresh.assign(next.size(), false);

    // Reads what must be read; on a stop, the entries not read yet keep what they had, or go.
    const auto finish = [&](std::size_t readCount) {
        std::vector<Entry> kept;
        kept.reserve(next.size());
        std::size_t pending = readCount;
        for (std::size_t i = 0; i < next.size(); ++i) {
            const bool unread = pending < toRead.size() && toRead[pending] == i;
            if (unread)
                ++pending;
            if (unread && !next[i].file)
                continue;
            kept.push_back(std::move(next[i]));
        }
        entries_ = std::move(kept);
    };
    std::vector<std::string> names;
    names.reserve(toRead.size());
    for (const std::size_t i : toRead)
        names.push_back(files[i]);
    std::optional<FilePrefetcher> prefetcher;
    if (names.size() >= kPrefetchFrom)
        prefetcher.emplace(names, pass.folder);
    std::size_t done = 0;
    FilePrefetcher::Batch batch;
    std::size_t inBatch = 0;
    while (done < names.size()) {
        if (pass.stop()) {
            finish(done);
            return std::nullopt;
        }
        Entry& entry = next[toRead[done]];
        bool read = false;
        if (prefetcher) {
            if (inBatch == batch.files.size()) {
                batch = prefetcher->next();
                inBatch = 0;
            }
            PrefetchedFile& ahead = batch.files[inBatch++];
            switch (ahead.state) {
            case PrefetchedFile::State::read:
                read = readFile(pass, names[done], entry, ahead.bytes, ahead.identity, false);
                break;
            case PrefetchedFile::State::unreadable:
                read = readFile(pass, names[done], entry, std::nullopt, {}, false);
                break;
            case PrefetchedFile::State::leftToParser:
                read = readFile(pass, names[done], entry, std::nullopt, {}, true);
                break;
            }
        } else {
            read = readFile(pass, names[done], entry, std::nullopt, {}, true);
        }
        if (!read) {
            finish(done);
            return std::nullopt;
        }
        if (!pass.sameAsBefore) {
            pass.fresh[toRead[done]] = true;
            changed = true;
        }
        ++done;
    }
    entries_ = std::move(next);
    return changed;
}

std::optional<bool> AddressBookCache::updateNamed(Pass& pass, std::vector<std::string> paths) {
    // Files read within their clock's reach of the last reading may have changed unreported.
    for (const Entry& entry : entries_)
        if (!entry.trusted)
            paths.push_back(entry.file->relative);
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    const auto byPath = [](const Entry& entry, const std::string& relative) {
        return entry.file->relative < relative;
    };
    bool changed = false;
    std::vector<std::string> freshPaths;
    for (const std::string& relative : paths) {
        if (!isBookPath(relative))
            continue;
        if (pass.stop())
            return std::nullopt;
        auto at = std::lower_bound(entries_.begin(), entries_.end(), relative, byPath);
        const bool known = at != entries_.end() && at->file->relative == relative;
        struct stat info {};
        if (::fstatat(pass.folder, relative.c_str(), &info, 0) != 0 || !S_ISREG(info.st_mode)) {
            if (known) {
                entries_.erase(at);
                changed = true;
            }
            continue;
        }
        Entry entry = known ? *at : Entry{};
        if (!readFile(pass, relative, entry, std::nullopt, {}, true))
            return std::nullopt;
        const bool same = pass.sameAsBefore;
        if (known)
            *at = std::move(entry);
        else
            entries_.insert(at, std::move(entry));
        if (!same) {
            freshPaths.push_back(relative);
            changed = true;
        }
    }
    pass.fresh.assign(entries_.size(), false);
    for (std::size_t i = 0, f = 0; i < entries_.size() && f < freshPaths.size(); ++i)
        if (entries_[i].file->relative == freshPaths[f]) {
            pass.fresh[i] = true;
            ++f;
        }
    return changed;
}

bool AddressBookCache::readFile(Pass& pass, const std::string& relative, Entry& entry,
                                std::optional<std::string_view> bytes, CardFileIdentity identity,
                                bool readHere) {
    const char* failure = "skipped unreadable file";
    if (readHere)
        bytes = pass.reader.read(relative, pass.folder, identity, failure);
    if (identity.inode == 0) {
        // It could not be opened; its inode still says when that may change.
        struct stat info {};
        if (::fstatat(pass.folder, relative.c_str(), &info, 0) == 0)
            identity = CardFileIdentity::of(info);
    }
    if (!bytes) {
        // Said once while it stays as it was.
        if (!(entry.file && entry.unread && entry.identity == identity && identity.inode != 0))
            qCWarning(lcAddressBook) << failure << displayPath(relative);
    }

    auto parsed = std::make_shared<ParsedCardFile>();
    parsed->relative = relative;
    parsed->serial = nextSerial++;
    const bool recent = secondsOf(identity.changed) + kClockReach >= pass.second;
    const std::uint64_t hash = bytes && (recent || entry.contentHash != 0) ? hashOf(*bytes) : 0;
    // Read again unchanged (as a file whose clock could not vouch for it is): said once already.
    const bool quiet = hash != 0 && hash == entry.contentHash;
    pass.sameAsBefore = quiet && entry.file && !entry.unread;
    if (pass.sameAsBefore) {
        // What was made of these bytes stands, and so does the book assembled from it.
        entry.identity = identity;
        entry.trusted = identity.inode != 0 && !recent;
        entry.contentHash = recent ? hash : 0;
        return true;
    }

    bool stopped = false;
    if (bytes) {
        DialcoveCore::PackedContacts::Builder& builder = pass.builder;
        DialcoveCore::PackedContacts::Draft& draft = pass.draft;
        TextArena& arena = pass.arena;
        std::string fallbackPrefix; // "vcf:<path>#", made on the first card without a UID
        int problems = 0;
        readVCardViews(
            *bytes,
            [&](const VCardView& card) {
                arena.clear();
                std::string_view id = contactIDOf(card, arena);
                if (id.empty()) {
                    if (fallbackPrefix.empty())
                        fallbackPrefix = "vcf:" + escapedPath(relative) + "#";
                    id = arena.keep(fallbackPrefix + std::to_string(card.position));
                }
                if (draftFromVCard(card, id, draft, arena))
                    builder.add(draft);
                stopped = pass.stop();
                return !stopped;
            },
            [&](std::size_t position, std::string_view problem) {
                if (++problems <= kProblemsLoggedPerFile && !quiet)
                    qCWarning(lcAddressBook).nospace()
                        << displayPath(relative) << " card " << position << ": "
                        << QString::fromUtf8(problem.data(), static_cast<qsizetype>(problem.size()));
            },
            contactProperties(), [&](std::size_t consumed) { pass.reader.consumed(consumed); });
        if (problems > kProblemsLoggedPerFile && !quiet)
            qCWarning(lcAddressBook) << displayPath(relative) << "had" << problems - kProblemsLoggedPerFile
                                     << "more problems";
        if (stopped) {
            builder.finish();
            return false;
        }
        parsed->contacts = builder.finish();
    }
    entry.file = std::move(parsed);
    entry.unread = !bytes;
    entry.identity = identity;
    entry.trusted = identity.inode != 0 && !recent;
    entry.contentHash = recent ? hash : 0;
    return true;
}

std::shared_ptr<const AddressBookSnapshot> AddressBookCache::assemble(const std::vector<bool>& fresh) const {
    std::vector<std::shared_ptr<const ParsedCardFile>> files;
    std::vector<bool> freshFile;
    std::size_t cards = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].file->contacts.size() > 0) {
            files.push_back(entries_[i].file);
            freshFile.push_back(i < fresh.size() && fresh[i]);
            cards += entries_[i].file->contacts.size();
        }

    // Of several cards with one identifier the first read wins: files by path, cards in file order.
    std::vector<AddressBookSnapshot::Position> kept;
    kept.reserve(cards);
    std::unordered_map<std::string_view, std::uint32_t> winners; // identifier: its file
    winners.reserve(cards);
    for (std::uint32_t f = 0; f < files.size(); ++f) {
        const DialcoveCore::PackedContacts& contacts = files[f]->contacts;
        for (std::uint32_t c = 0; c < contacts.size(); ++c) {
            const auto [at, added] = winners.emplace(contacts.view(c).id(), f);
            if (added) {
                kept.push_back({f, c});
                continue;
            }
            // Said when either file was read anew: once per change of them.
            if (freshFile[f] || freshFile[at->second])
                qCDebug(lcAddressBook)
                    << "skipped a second card with one uid in" << displayPath(files[f]->relative)
                    << "after the one in" << displayPath(files[at->second]->relative);
        }
    }

    // The fixed order: folded family name (the display name standing in when there is none),
    // folded given name, folded formatted name, then identifier, bytewise. Each contact's four
    // texts become one key that compares as they do in that order, so a comparison is one memcmp:
    // each text's NUL bytes written as NUL 1, each text ended by NUL NUL.
    std::string keys;
    std::vector<std::uint32_t> ends; // of each contact's key in keys
    ends.reserve(kept.size());
    const auto viewOf = [&](const AddressBookSnapshot::Position& at) {
        return files[at.file]->contacts.view(at.card);
    };
    const auto append = [&](std::string_view text) {
        for (const char c : text) {
            keys.push_back(c);
            if (c == '\0')
                keys.push_back('\1');
        }
        keys.append(2, '\0');
    };
    for (const auto& at : kept) {
        const DialcoveCore::ContactView contact = viewOf(at);
        const std::string_view family =
            contact.familyName().empty() ? contact.displayName() : contact.familyName();
        append(DialcoveCore::foldedForm(family));
        append(DialcoveCore::foldedForm(contact.givenName()));
        append(DialcoveCore::foldedForm(contact.formattedName()));
        append(contact.id());
        ends.push_back(static_cast<std::uint32_t>(keys.size()));
    }
    const auto keyOf = [&](std::uint32_t i) {
        const std::uint32_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(keys).substr(begin, ends[i] - begin);
    };
    std::vector<std::uint32_t> order(kept.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return keyOf(a) < keyOf(b); });
    std::vector<AddressBookSnapshot::Position> sorted;
    sorted.reserve(order.size());
    for (const std::uint32_t i : order)
        sorted.push_back(kept[i]);
    return std::make_shared<AddressBookSnapshot>(std::move(files), std::move(sorted));
}

} // namespace Platform
