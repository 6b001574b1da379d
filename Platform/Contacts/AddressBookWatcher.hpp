#pragma once

#include "Platform/Contacts/AddressBookSettings.hpp"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <chrono>

namespace Platform {

// The address book's store-changed notification. Watches the folder, its sub-folders and their
// .vcf files; a burst of changes (a sync tool writing hundreds of files) gives one `changed`,
// after `debounce` without further change, on the thread the watcher lives on (the main thread).
// While the folder does not exist its parent is watched, so its creation is seen.
class AddressBookWatcher : public QObject {
    Q_OBJECT

public:
    explicit AddressBookWatcher(AddressBookSettings settings,
                                std::chrono::milliseconds debounce = std::chrono::milliseconds(500),
                                QObject* parent = nullptr);

    // Reads the folder from the settings again and watches it; a folder that moved counts as a
    // change of the store.
    void retarget();

signals:
    void changed();

private:
    void scheduleChange();
    void deliverChange();
    void watchFolder();

    AddressBookSettings settings_;
    QString folder_;
    QFileSystemWatcher watcher_;
    QTimer debounce_;
    bool reportedWatchLimit_ = false;
};

} // namespace Platform
