#include "Platform/SyncFolderStore.hpp"

#include "Platform/PlatformLogging.hpp"
#include "Platform/SyncFolderFileNames.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>
#include <algorithm>
#include <sys/stat.h>

namespace Platform {

namespace {

constexpr qint64 maximumIdentityBytes = 1024;
const QString folderSettingKey = QStringLiteral("syncFolder");

std::shared_ptr<SyncFolderStore>& standardInstance() {
    static std::shared_ptr<SyncFolderStore> instance;
    return instance;
}

qint64 nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<QByteArray> readAtMost(const QString& path, qint64 limit) {
    // Opening a pipe or a device in a file's place could wait for a writer for ever.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A buffer of the file's size, not of the limit: every record is read at every rescan.
    QByteArray bytes = file.read(std::min(limit, file.size()) + 1);
    if (bytes.size() > limit || file.error() != QFile::NoError)
        return std::nullopt;
    return bytes;
}

// What went wrong, or nothing when the bytes are in place.
std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes) {
    // QSaveFile writes through a link to its target, which a synced link may put anywhere: the
    // record replaces the link instead.
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode)) {
        QFile link(path);
        if (!link.remove())
            return link.errorString();
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace

SyncFolderStore::SyncFolderStore(std::optional<QString> folder, QObject* parent)
    : SyncFolderStore(std::move(folder), Options{}, parent) {}

SyncFolderStore::SyncFolderStore(std::optional<QString> folder, Options options, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), options_(std::move(options)) {
    debounce_.setSingleShot(true);
    debounce_.setTimerType(Qt::PreciseTimer);
    debounce_.setInterval(options_.debounce);
    connect(&debounce_, &QTimer::timeout, this, [this] { rescan(true, false); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!debounce_.isActive())
            debounce_.start();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        if (!debounce_.isActive())
            debounce_.start();
    });
    if (options_.rescanInterval.count() > 0) {
        periodic_.setInterval(options_.rescanInterval);
        connect(&periodic_, &QTimer::timeout, this, [this] { rescan(true, true); });
        periodic_.start();
    }
    rescan(false, false);
}

SyncFolderStore::~SyncFolderStore() = default;

std::shared_ptr<SyncFolderStore> SyncFolderStore::standard() {
    std::shared_ptr<SyncFolderStore>& instance = standardInstance();
    if (!instance) {
        instance = std::make_shared<SyncFolderStore>(configuredFolder());
        // Timers and watches must go before the application object does.
        qAddPostRoutine([] { standardInstance().reset(); });
    }
    return instance;
}

QString SyncFolderStore::settingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/dialcove/platform.ini";
}

std::optional<QString> SyncFolderStore::configuredFolder() {
    const std::optional<QString> folder = UserDefaults(settingsPath()).string(folderSettingKey);
    if (!folder || folder->trimmed().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(*folder);
}

void SyncFolderStore::setConfiguredFolder(const std::optional<QString>& folder) {
    UserDefaults settings(settingsPath());
    if (folder)
        settings.setString(folderSettingKey, *folder);
    else
        settings.remove(folderSettingKey);
    if (const std::shared_ptr<SyncFolderStore>& instance = standardInstance())
        instance->setFolder(configuredFolder());
}

void SyncFolderStore::setFolder(const std::optional<QString>& folder) {
    if (folder == folder_)
        return;
    folder_ = folder;
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    watchedInodes_.clear();
    pending_.clear();
    rescan(true, true);
}

std::optional<QByteArray> SyncFolderStore::data(const QString& key) const {
    const auto found = entries_.find(key);
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

void SyncFolderStore::setData(const QString& key, const QByteArray& value) {
    if (key.isEmpty())
        return;
    if (!folder_) {
        qCDebug(lcSyncFolder) << "no sync folder, write dropped";
        return;
    }
    if (!folderUsable()) {
        keepUnwritten(key, true, QStringLiteral("folder unavailable"));
        return;
    }
    qint64 totalBytes = 0;
    for (const auto& [storedKey, bytes] : entries_)
        if (storedKey != key)
            totalBytes += storedKey.toUtf8().size() + bytes.size();
    totalBytes += key.toUtf8().size() + value.size();
    const auto keyCount = qsizetype(entries_.size()) + (entries_.count(key) ? 0 : 1);
    if (totalBytes > options_.quota.totalBytes || keyCount > options_.quota.keyCount) {
        qCWarning(lcSyncFolder) << "sync folder quota exceeded, write refused";
        report({key}, ChangeReason::quotaViolation, false);
        return;
    }
    const QString path = pathOf(syncFileName(key));
    if (const std::optional<QString> error = writeAtomically(path, value)) {
        keepUnwritten(key, false, *error);
        return;
    }
    unwritten_.remove(key);
    // The folder takes writes again: the outage is over, and the next one is worth a warning.
    warned_.clear();
    pending_.remove(key);
    // What the folder holds is judged by its bytes at the next rescan: another machine's file may
    // already have replaced ours.
    entries_[key] = value;
    watch({path});
}

void SyncFolderStore::remove(const QString& key) {
    if (!folderUsable() || !entries_.count(key))
        return;
    const QString path = pathOf(syncFileName(key));
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        qCWarning(lcSyncFolder) << "sync folder remove failed:" << path;
        return;
    }
    entries_.erase(key);
    pending_.remove(key);
    unwritten_.remove(key);
    warned_.remove(key);
}

void SyncFolderStore::synchronize() {
    rescan(true, true);
}

void SyncFolderStore::keepUnwritten(const QString& key, bool folderWasAway, const QString& why) {
    // What the folder holds stays as it is: the retry merges against it rather than replacing it.
    unwritten_.insert(key, Unwritten{identity_, folderWasAway});
    if (!warned_.contains(key)) {
        warned_.insert(key);
        qCWarning(lcSyncFolder).noquote()
            << "sync folder write failed, kept for a retry:" << key << "-" << why;
    }
}

QStringList SyncFolderStore::takeRetries(bool retryFailedWrites) {
    QStringList retries;
    for (auto it = unwritten_.begin(); it != unwritten_.end();) {
        if (it->identity == identity_) {
            if (it->folderWasAway || retryFailedWrites) {
                retries << it.key();
                it = unwritten_.erase(it);
                continue;
            }
        } else if (identity_) {
            // Another account: its settings replace ours, so our value is not carried into it.
            qCInfo(lcSyncFolder).noquote()
                << "sync folder has another identity, unwritten value dropped:" << it.key();
            warned_.remove(it.key());
            it = unwritten_.erase(it);
            continue;
        }
        // No identity yet: the folder is still arriving; wait for it.
        ++it;
    }
    return retries;
}

bool SyncFolderStore::folderUsable() const {
    if (!folder_)
        return false;
    // A folder we cannot list would look empty and invite a second identity.
    const QFileInfo info(*folder_);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

QString SyncFolderStore::pathOf(const QString& fileName) const {
    return *folder_ + '/' + fileName;
}

QDateTime SyncFolderStore::now() const {
    return options_.clock ? options_.clock() : QDateTime::currentDateTimeUtc();
}

std::optional<SyncFolderStore::Signature> SyncFolderStore::signatureOf(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Signature{qint64(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
                     quint64(status.st_ino)};
}

void SyncFolderStore::rescan(bool shouldReport, bool retryFailedWrites) {
    const std::map<QString, QByteArray> before = entries_;
    const std::optional<QByteArray> identityBefore = identity_;
    QStringList retries;

    if (!folderUsable()) {
        entries_.clear();
        pending_.clear();
        identity_.reset();
    } else {
        const QStringList names =
            QDir(*folder_).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QSet<QString> present;
        bool hasIdentityFile = false;
        QStringList ours;
        for (const QString& name : names) {
            if (name == syncIdentityFileName) {
                hasIdentityFile = true;
                ours << pathOf(name);
            } else if (const std::optional<QString> key = syncKey(name)) {
                present.insert(*key);
                ours << pathOf(name);
                scanRecord(*key, pathOf(name));
            }
        }
        std::erase_if(entries_, [&](const auto& item) { return !present.contains(item.first); });
        for (auto it = pending_.begin(); it != pending_.end();)
            it = present.contains(it.key()) ? std::next(it) : pending_.erase(it);
        identity_ = readIdentity(hasIdentityFile, !present.isEmpty());
        if (!hasIdentityFile && identity_)
            ours << pathOf(syncIdentityFileName);
        ours << *folder_;
        watch(ours);
        if (shouldReport)
            retries = takeRetries(retryFailedWrites);
    }

    if (!pending_.isEmpty() && !debounce_.isActive())
        debounce_.start();
    if (!shouldReport)
        return;

    QStringList changed;
    for (const auto& [key, bytes] : before) {
        const auto now = entries_.find(key);
        if (now == entries_.end() || now->second != bytes)
            changed << key;
    }
    for (const auto& [key, bytes] : entries_)
        if (!before.count(key))
            changed << key;
    // Even when the folder's bytes look untouched, a value it could not take must be merged again.
    for (const QString& key : std::as_const(retries))
        if (!changed.contains(key))
            changed << key;
    changed.sort();
    const bool identityChanged = identity_ != identityBefore;
    if (identityChanged)
        report(changed, ChangeReason::accountChange, true);
    else if (!changed.isEmpty())
        report(changed, ChangeReason::serverChange, false);
}

void SyncFolderStore::scanRecord(const QString& key, const QString& path) {
    const std::optional<Signature> signature = signatureOf(path);
    // Something we cannot take (not a regular file, too large for any record) changes nothing:
    // what was read before stays until the file is one we can read.
    if (!signature || signature->size > options_.quota.totalBytes) {
        pending_.remove(key);
        return;
    }
    // Read every time: the quota keeps all records together small.
    const std::optional<QByteArray> bytes = readAtMost(path, options_.quota.totalBytes);
    const std::optional<Signature> after = signatureOf(path);
    const QDateTime current = now();
    if (!bytes || !after || *after != *signature) {
        if (after)
            pending_.insert(key, Pending{*after, std::nullopt, current});
        return;
    }
    if (const auto known = entries_.find(key); known != entries_.end() && known->second == *bytes) {
        pending_.remove(key);
        return;
    }

    // A file untouched for a whole debounce has held still across it; otherwise it must look the
    // same, bytes and all, a debounce after it was first seen like this. A time of a whole second
    // may be all the file system keeps (FAT keeps even seconds), so such a file may have been
    // touched until two seconds after it.
    const auto debounce = qint64(options_.debounce.count());
    const qint64 wholeSecondsSlack = signature->modified % 1'000'000'000 == 0 ? 2000 : 0;
    const QDateTime modified =
        QDateTime::fromMSecsSinceEpoch(signature->modified / 1'000'000 + wholeSecondsSlack, Qt::UTC);
    if (modified.msecsTo(current) < debounce) {
        const auto seen = pending_.find(key);
        if (seen == pending_.end() || seen->signature != *signature || seen->bytes != *bytes ||
            seen->firstSeen > current) {
            pending_.insert(key, Pending{*signature, *bytes, current});
            return;
        }
        if (seen->firstSeen.msecsTo(current) < debounce)
            return;
    }
    pending_.remove(key);
    entries_[key] = *bytes;
}

std::optional<QByteArray> SyncFolderStore::readIdentity(bool fileExists, bool folderHoldsRecords) {
    const QString path = pathOf(syncIdentityFileName);
    if (fileExists) {
        const std::optional<QByteArray> text = readAtMost(path, maximumIdentityBytes);
        const QUuid uuid = text ? QUuid::fromString(QString::fromUtf8(text->trimmed())) : QUuid();
        if (uuid.isNull()) {
            qCDebug(lcSyncFolder) << "sync folder identity unreadable";
            return std::nullopt;
        }
        return uuid.toString(QUuid::WithoutBraces).toUpper().toUtf8();
    }
    if (folderHoldsRecords)
        return std::nullopt; // the identity is still on its way
    // Never over an existing file: a listing that missed it (a flaky mount) must not replace the
    // identity every machine knows. The file is small enough to land in one write.
    const QByteArray token = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        qCWarning(lcSyncFolder) << "sync folder identity could not be created:" << path;
        return std::nullopt;
    }
    if (file.write(token + '\n') != token.size() + 1 || !file.flush()) {
        qCWarning(lcSyncFolder) << "sync folder identity could not be written:" << path;
        file.remove();
        return std::nullopt;
    }
    qCInfo(lcSyncFolder) << "sync folder identity created";
    return token;
}

void SyncFolderStore::watch(const QStringList& paths) {
    const QStringList files = watcher_.files();
    const QStringList directories = watcher_.directories();
    QSet<QString> watchedPaths(files.begin(), files.end());
    watchedPaths.unite(QSet<QString>(directories.begin(), directories.end()));
    QStringList add;
    for (const QString& path : paths) {
        const std::optional<Signature> signature = signatureOf(path);
        const quint64 inode = signature ? signature->inode : 0;
        const bool watched = watchedPaths.contains(path);
        // A file replaced by renaming over it is a new inode, which the old watch does not see.
        if (watched && watchedInodes_.value(path) == inode)
            continue;
        if (watched)
            watcher_.removePath(path);
        watchedInodes_.insert(path, inode);
        add << path;
    }
    if (!add.isEmpty())
        watcher_.addPaths(add);
}

void SyncFolderStore::report(QStringList keys, ChangeReason reason, bool identityChanged) {
    QMetaObject::invokeMethod(
        this,
        [this, keys = std::move(keys), reason, identityChanged] {
            emit changedExternally(keys, reason);
            if (identityChanged)
                emit this->identityChanged();
        },
        Qt::QueuedConnection);
}

} // namespace Platform
