#pragma once

#include "Platform/Contacts/AddressBook.hpp"
#include "Platform/Contacts/AddressBookJournal.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QSocketNotifier;

namespace Platform {

// The address book's store-changed notification. Watches folders, not files: one inotify watch
// on the folder, one on each of its sub-folders, and one on its parent, so that the folder's
// creation, removal or replacement is seen. A card file written, made, removed, moved in or out
// or changed in its attributes is a change; a burst of them (a sync tool writing hundreds of
// files) gives one `changed`, after `debounce` without further change, on the thread the watcher
// lives on. Which files changed goes at once to the book's journal, for its next reading.
class AddressBookWatcher : public QObject {
    Q_OBJECT

public:
    explicit AddressBookWatcher(AddressBookSettings settings,
                                std::chrono::milliseconds debounce = std::chrono::milliseconds(500),
                                QObject* parent = nullptr);
    // Over `book`'s folder, telling its readings what changed.
    explicit AddressBookWatcher(const AddressBook& book,
                                std::chrono::milliseconds debounce = std::chrono::milliseconds(500),
                                QObject* parent = nullptr);
    ~AddressBookWatcher() override;

    // Reads the folder from the settings again and watches it; a folder that moved counts as a
    // change of the store.
    void retarget();

    // The inotify watches held, one per folder.
    std::size_t watchCount() const { return watches_.size(); }

signals:
    void changed();

private:
    // What a watch is on: the folder's parent, the folder, or one of its sub-folders.
    struct Watched {
        enum class Kind { parent, folder, collection } kind;
        std::string name; // the sub-folder's name, for a collection
    };

    void readEvents();
    void scheduleChange();
    void deliverChange();
    // Watches the folder there now (and its parent and sub-folders) when it is not the one watched.
    void watchFolder(bool force);
    void unwatchAll();
    bool addWatch(const std::string& path, std::uint32_t mask, Watched watched);
    void forgetWatch(int descriptor);
    void collectionGone(const std::string& name);

    AddressBookSettings settings_;
    std::shared_ptr<AddressBookJournal> journal_; // may be null
    QString folder_;
    std::string root_; // folder_ as file-name bytes
    std::string folderName_;
    int inotify_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::map<int, Watched> watches_;
    // The device and inode of the folder watched, none while it is missing.
    std::optional<AddressBookJournal::FolderIdentity> watchedIdentity_;
    bool complete_ = false; // every folder is watched
    QTimer debounce_;
    bool reportedWatchLimit_ = false;
};

} // namespace Platform
