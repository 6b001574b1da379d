#include "Platform/Contacts/AddressBookJournal.hpp"

namespace Platform {

namespace {

// Past this many names a reading of the whole folder costs no more than looking at each.
constexpr std::size_t kPathsKept = 4096;

} // namespace

void AddressBookJournal::watching(const std::string& folder, FolderIdentity identity) {
    const std::lock_guard lock(mutex_);
    folder_ = folder;
    identity_ = identity;
    watching_ = true;
    complete_ = false;
    paths_.clear();
}

void AddressBookJournal::stopped() {
    const std::lock_guard lock(mutex_);
    watching_ = false;
    complete_ = false;
    paths_.clear();
}

void AddressBookJournal::changed(std::string relative) {
    const std::lock_guard lock(mutex_);
    if (!complete_)
        return;
    if (paths_.size() >= kPathsKept) {
        complete_ = false;
        paths_.clear();
        return;
    }
    paths_.insert(std::move(relative));
}

void AddressBookJournal::lost() {
    const std::lock_guard lock(mutex_);
    complete_ = false;
    paths_.clear();
}

AddressBookJournal::Changes AddressBookJournal::take(const std::string& folder, FolderIdentity identity) {
    const std::lock_guard lock(mutex_);
    Changes changes;
    const bool same = watching_ && folder == folder_ && identity == identity_;
    changes.complete = same && complete_;
    if (changes.complete)
        changes.paths.assign(paths_.begin(), paths_.end());
    paths_.clear();
    // From here on the watcher's reports are all there is to know, while it keeps watching.
    complete_ = same;
    return changes;
}

} // namespace Platform
