#pragma once

#include "Platform/Contacts/AddressBookSettings.hpp"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>
#include <utility>

namespace Platform {

// The address book's store-changed notification. Watches the folder, its sub-folders and their
// .vcf files; a burst of changes (a sync tool writing hundreds of files) gives one `changed`,
// after `debounce` without further change, on the thread the watcher lives on (the main thread).
// Its parent is watched too, so that the folder's creation, removal or replacement is seen.
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
    void directoryChanged(const QString& path);
    void scheduleChange();
    void deliverChange();
    void watchFolder();

    AddressBookSettings settings_;
    QString folder_;
    QFileSystemWatcher watcher_;
    // The device and inode of the folder watched, none while it is missing.
    std::optional<std::pair<quint64, quint64>> watchedIdentity_;
    QTimer debounce_;
    bool reportedWatchLimit_ = false;
};

} // namespace Platform
