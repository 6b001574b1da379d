#include "Platform/Contacts/AddressBookWatcher.hpp"

#include "Platform/Contacts/AddressBookLogging.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sys/stat.h>

namespace Platform {

namespace {

bool isCardFile(const QFileInfo& info) {
    const QString suffix = info.suffix();
    return info.isFile() && (suffix.compare("vcf", Qt::CaseInsensitive) == 0 ||
                             suffix.compare("vcard", Qt::CaseInsensitive) == 0);
}

// The folder the path names now, if any: a folder moved away keeps its watches, and another may
// take its path.
std::optional<std::pair<quint64, quint64>> folderIdentity(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return std::pair<quint64, quint64>(info.st_dev, info.st_ino);
}

} // namespace

AddressBookWatcher::AddressBookWatcher(AddressBookSettings settings, std::chrono::milliseconds debounce,
                                       QObject* parent)
    : QObject(parent), settings_(std::move(settings)), folder_(settings_.folder()) {
    debounce_.setSingleShot(true);
    debounce_.setInterval(debounce);
    connect(&debounce_, &QTimer::timeout, this, &AddressBookWatcher::deliverChange);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &AddressBookWatcher::directoryChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &AddressBookWatcher::scheduleChange);
    watchFolder();
}

void AddressBookWatcher::retarget() {
    const QString folder = settings_.folder();
    if (folder == folder_)
        return;
    folder_ = folder;
    watchFolder();
    scheduleChange();
}

void AddressBookWatcher::directoryChanged(const QString& path) {
    // The parent is watched only to see the folder come, go or be replaced, not its neighbours.
    if (path == QFileInfo(folder_).absolutePath() && folderIdentity(folder_) == watchedIdentity_)
        return;
    scheduleChange();
}

void AddressBookWatcher::scheduleChange() {
    debounce_.start();
}

void AddressBookWatcher::deliverChange() {
    // New files and sub-folders join the watch before anyone reads the book again.
    watchFolder();
    emit changed();
}

void AddressBookWatcher::watchFolder() {
    const std::optional<std::pair<quint64, quint64>> identity = folderIdentity(folder_);
    if (identity != watchedIdentity_) {
        // The watches of a folder follow it when it moves: start again from the one there now.
        const QStringList watched = watcher_.files() + watcher_.directories();
        if (!watched.isEmpty())
            watcher_.removePaths(watched);
        watchedIdentity_ = identity;
    }

    QSet<QString> wanted;
    const QFileInfo root(folder_);
    // Its parent sees the folder itself moved away or replaced, or created while it is missing.
    const QString parent = root.absolutePath();
    if (QFileInfo(parent).isDir())
        wanted.insert(parent);
    if (root.isDir()) {
        wanted.insert(folder_);
        const QDir dir(folder_);
        for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (entry.isDir()) {
                wanted.insert(entry.absoluteFilePath());
                for (const QFileInfo& inner : QDir(entry.absoluteFilePath()).entryInfoList(QDir::Files))
                    if (isCardFile(inner))
                        wanted.insert(inner.absoluteFilePath());
            } else if (isCardFile(entry)) {
                wanted.insert(entry.absoluteFilePath());
            }
        }
    }

    QStringList stale;
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& path : watched)
        if (!wanted.contains(path))
            stale.append(path);
    if (!stale.isEmpty())
        watcher_.removePaths(stale);

    QStringList added;
    const QSet<QString> current(watched.begin(), watched.end());
    for (const QString& path : wanted)
        if (!current.contains(path))
            added.append(path);
    if (added.isEmpty())
        return;
    const QStringList failed = watcher_.addPaths(added);
    if (!failed.isEmpty() && !reportedWatchLimit_) {
        // Past the inotify limit edits inside a file go unseen; files added or removed still show
        // through their folder's watch.
        reportedWatchLimit_ = true;
        qCWarning(lcAddressBook) << "could not watch" << failed.size() << "contact files";
    }
}

} // namespace Platform
