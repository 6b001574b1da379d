#include "Platform/Contacts/AddressBookWatcher.hpp"

#include "Platform/Contacts/AddressBookLogging.hpp"
#include "Platform/Contacts/CardFile.hpp"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Platform {

namespace {

// A card file written and closed, made, removed, moved in or out, or changed in its attributes
// (made readable, say); for the folders, also their own removal or move.
constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                        IN_EXCL_UNLINK;
// In the parent, only the folder itself coming and going matters.
constexpr std::uint32_t kParentEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// The folder the path names now, if any: a folder moved away keeps its watches, and another may
// take its path.
std::optional<AddressBookJournal::FolderIdentity> folderIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return AddressBookJournal::FolderIdentity(info.st_dev, info.st_ino);
}

// The sub-folders of `path` that are read: not hidden, symbolic links followed.
std::vector<std::string> collectionsOf(const std::string& path) {
    std::vector<std::string> names;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return names;
    listFolder(descriptor, [&](std::string_view name, bool, bool folder) {
        if (folder)
            names.emplace_back(name);
    });
    ::close(descriptor);
    return names;
}

} // namespace

AddressBookWatcher::AddressBookWatcher(AddressBookSettings settings, std::chrono::milliseconds debounce,
                                       QObject* parent)
    : QObject(parent), settings_(std::move(settings)), folder_(settings_.folder()) {
    debounce_.setSingleShot(true);
    debounce_.setInterval(debounce);
    connect(&debounce_, &QTimer::timeout, this, &AddressBookWatcher::deliverChange);
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) {
        qCWarning(lcAddressBook) << "cannot watch the contacts folder:" << std::strerror(errno);
        return;
    }
    notifier_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &AddressBookWatcher::readEvents);
    watchFolder(true);
}

AddressBookWatcher::AddressBookWatcher(const AddressBook& book, std::chrono::milliseconds debounce,
                                       QObject* parent)
    : AddressBookWatcher(book.settings(), debounce, parent) {
    journal_ = book.journal();
    // Watching began before the journal was known: tell it now.
    if (complete_ && watchedIdentity_)
        journal_->watching(root_, *watchedIdentity_);
}

AddressBookWatcher::~AddressBookWatcher() {
    if (journal_)
        journal_->stopped();
    delete notifier_;
    if (inotify_ >= 0)
        ::close(inotify_);
}

void AddressBookWatcher::retarget() {
    const QString folder = settings_.folder();
    if (folder == folder_)
        return;
    folder_ = folder;
    watchFolder(true);
    scheduleChange();
}

void AddressBookWatcher::scheduleChange() {
    debounce_.start();
}

void AddressBookWatcher::deliverChange() {
    // A folder put in the folder's place, or watches that failed, are taken up before anyone
    // reads the book again.
    watchFolder(false);
    emit changed();
}

bool AddressBookWatcher::addWatch(const std::string& path, std::uint32_t mask, Watched watched) {
    const int descriptor = ::inotify_add_watch(inotify_, path.c_str(), mask);
    if (descriptor < 0) {
        if ((errno == ENOSPC || errno == ENOMEM) && !reportedWatchLimit_) {
            // Past the inotify limit the folder is read whole at every opening.
            reportedWatchLimit_ = true;
            qCWarning(lcAddressBook) << "could not watch" << displayPath(path) << std::strerror(errno);
        }
        return false;
    }
    watches_[descriptor] = std::move(watched);
    return true;
}

void AddressBookWatcher::forgetWatch(int descriptor) {
    ::inotify_rm_watch(inotify_, descriptor);
    watches_.erase(descriptor);
}

void AddressBookWatcher::unwatchAll() {
    while (!watches_.empty())
        forgetWatch(watches_.begin()->first);
}

void AddressBookWatcher::watchFolder(bool force) {
    if (inotify_ < 0)
        return;
    root_ = QFile::encodeName(folder_).toStdString();
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
    const std::optional<AddressBookJournal::FolderIdentity> identity = folderIdentity(root_);
    if (!force && identity == watchedIdentity_ && complete_)
        return;
    // The watches of a folder follow it when it moves: start again from the one there now.
    unwatchAll();
    watchedIdentity_ = identity;
    const std::size_t slash = root_.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : root_.substr(0, slash);
    folderName_ = slash == std::string::npos ? root_ : root_.substr(slash + 1);
    // Its parent sees the folder itself moved away or replaced, or created while it is missing.
    bool complete = addWatch(parent, kParentEvents, {Watched::Kind::parent, {}});
    if (identity) {
        // The folder before its sub-folders are listed: one made meanwhile is still reported.
        complete = addWatch(root_, kFolderEvents, {Watched::Kind::folder, {}}) && complete;
        for (const std::string& name : collectionsOf(root_))
            complete =
                addWatch(root_ + "/" + name, kFolderEvents, {Watched::Kind::collection, name}) && complete;
    }
    complete_ = identity.has_value() && complete;
    if (journal_) {
        if (complete_)
            journal_->watching(root_, *identity);
        else
            journal_->stopped();
    }
}

void AddressBookWatcher::collectionGone(const std::string& name) {
    for (auto it = watches_.begin(); it != watches_.end(); ++it)
        if (it->second.kind == Watched::Kind::collection && it->second.name == name) {
            forgetWatch(it->first);
            return;
        }
}

void AddressBookWatcher::readEvents() {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(inotify_, buffer, sizeof buffer);
        if (count <= 0)
            break;
        for (ssize_t offset = 0; offset < count;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const std::string name = event->len > 0 ? std::string(event->name) : std::string();
            const auto lose = [&] {
                if (journal_)
                    journal_->lost();
                scheduleChange();
            };
            if (event->mask & IN_Q_OVERFLOW) {
                lose();
                continue;
            }
            const auto found = watches_.find(event->wd);
            if (found == watches_.end())
                continue;
            if (event->mask & IN_IGNORED) {
                // The watch went with its folder (removed, or its file system unmounted).
                const Watched::Kind kind = found->second.kind;
                watches_.erase(found);
                if (kind == Watched::Kind::collection) {
                    lose();
                } else if (complete_) {
                    complete_ = false;
                    if (journal_)
                        journal_->stopped();
                    scheduleChange();
                }
                continue;
            }
            const Watched watched = found->second;
            switch (watched.kind) {
            case Watched::Kind::parent:
                // The folder came, went or was replaced; its neighbours do not matter.
                if (name == folderName_ && folderIdentity(root_) != watchedIdentity_) {
                    watchFolder(true);
                    lose();
                }
                break;
            case Watched::Kind::folder:
                if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                    watchFolder(false);
                    lose();
                } else if (name.empty()) {
                    // The folder's own attributes: whether it can be read may have changed.
                    scheduleChange();
                } else if (event->mask & IN_ISDIR) {
                    if (isHiddenName(name))
                        break;
                    if (event->mask & (IN_CREATE | IN_MOVED_TO)) {
                        if (!addWatch(root_ + "/" + name, kFolderEvents, {Watched::Kind::collection, name}) &&
                            complete_) {
                            complete_ = false;
                            if (journal_)
                                journal_->stopped();
                        }
                    } else if (event->mask & (IN_DELETE | IN_MOVED_FROM)) {
                        collectionGone(name);
                    }
                    lose();
                } else if (isCardFileName(name)) {
                    if (journal_)
                        journal_->changed(name);
                    scheduleChange();
                }
                break;
            case Watched::Kind::collection:
                if (event->mask & IN_ISDIR)
                    break; // deeper folders are not read
                if (name.empty()) {
                    if (event->mask & IN_ATTRIB)
                        lose();
                } else if (isCardFileName(name)) {
                    if (journal_)
                        journal_->changed(watched.name + "/" + name);
                    scheduleChange();
                }
                break;
            }
        }
    }
}

} // namespace Platform
