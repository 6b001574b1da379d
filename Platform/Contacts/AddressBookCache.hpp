#pragma once

#include "Platform/Contacts/AddressBookJournal.hpp"
#include "Platform/Contacts/AddressBookSnapshot.hpp"
#include "Platform/Contacts/CardFile.hpp"
#include "Platform/Contacts/ParsedCardFile.hpp"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// What the address book keeps between readings: each card file's contacts, keyed by the file's
// identity (CardFileIdentity), and the book last assembled from them. A reading reads only the
// files that are new or changed and hands back the same book when none is. With a complete
// journal from the watcher it looks only at the files the journal names; otherwise it lists the
// folder and stats each file.
//
// A file whose identity cannot be trusted is read again at the next reading: one whose inode
// changed within two seconds of the reading, since a file system with a coarse clock (ext2 and
// ext3 keep seconds, FAT two) gives a rewrite within that time the same identity. A file changed
// while it is read is kept with the identity it had when opened, so it is read again next time.
// Readings run one at a time; the cache may be shared by any number of threads.
class AddressBookCache {
public:
    AddressBookCache();

    // The book in `root` (a folder path as file-name bytes). None once `stopped` says true; what
    // was read until then is kept for the next reading. Throws AddressBookError when the folder
    // cannot be listed.
    std::shared_ptr<const AddressBookSnapshot> read(const std::string& root,
                                                    const std::function<bool()>& stopped);

    // The book the last reading assembled, if any; never waits for a reading.
    std::shared_ptr<const AddressBookSnapshot> latest() const;

    // Where the watcher reports what it saw.
    const std::shared_ptr<AddressBookJournal>& journal() const { return journal_; }

private:
    struct Entry {
        std::shared_ptr<const ParsedCardFile> file; // never null; holds the path
        CardFileIdentity identity;                  // inode 0 when it could not be learnt
        bool trusted = false;
        bool unread = false; // it could not be read (too large, say)
        // The bytes' hash when the file was read within its clock's reach of the reading, so
        // that reading it again unchanged logs none of its problems a second time; else 0.
        std::uint64_t contentHash = 0;
    };
    struct Pass;

    // Whether anything changed; none when stopped part way.
    std::optional<bool> updateAll(Pass& pass);
    std::optional<bool> updateNamed(Pass& pass, std::vector<std::string> paths);
    // Reads one file into `entry`: the `bytes` a thread read ahead from the file `identity` names,
    // or, with `readHere`, the file itself; with neither, the file could not be opened. False when
    // stopped part way.
    bool readFile(Pass& pass, const std::string& relative, Entry& entry,
                  std::optional<std::string_view> bytes, CardFileIdentity identity, bool readHere);
    std::shared_ptr<const AddressBookSnapshot> assemble(const std::vector<bool>& fresh) const;
    void setLatest(std::shared_ptr<const AddressBookSnapshot> book);

    std::mutex reading_;
    // Touched only while a reading runs.
    std::string root_;
    AddressBookJournal::FolderIdentity identity_{};
    std::vector<Entry> entries_; // by path, bytewise
    bool scanned_ = false;       // entries_ hold every file of the folder as the last reading found it

    mutable std::mutex latestMutex_;
    std::shared_ptr<const AddressBookSnapshot> latest_;
    const std::shared_ptr<AddressBookJournal> journal_;
};

} // namespace Platform
