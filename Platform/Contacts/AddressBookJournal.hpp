#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

// What the store's watcher saw change, for the store's next reading: the card files it names,
// or that it lost track. A reading that finds the journal complete stats only those files instead
// of every file of the folder. Shared between the watcher's thread and the reading's.
class AddressBookJournal {
public:
    // The device and inode of a folder.
    using FolderIdentity = std::pair<std::uint64_t, std::uint64_t>;

    struct Changes {
        // The watcher watched the folder and each sub-folder all along since the last take, and
        // lost nothing: `paths` are all that changed.
        bool complete = false;
        std::vector<std::string> paths; // below the folder, sorted
    };

    // The watcher. Its watches on `folder` (the folder `identity` names) and on every sub-folder
    // are in place from now on; what happened before is not known.
    void watching(const std::string& folder, FolderIdentity identity);
    // It watches nothing, or not everything, from now on.
    void stopped();
    // The card file at `relative` below the folder was written, made, removed, moved or changed.
    void changed(std::string relative);
    // Something changed that it cannot name (a sub-folder came or went, events were lost).
    void lost();

    // The store: what changed in `folder` since the last take, and a fresh start.
    Changes take(const std::string& folder, FolderIdentity identity);

private:
    std::mutex mutex_;
    std::string folder_;
    FolderIdentity identity_{};
    bool watching_ = false;
    bool complete_ = false;
    std::set<std::string> paths_;
};

} // namespace Platform
