#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Platform {

// A key-value store kept in a folder that a file-sync tool carries between machines: one file per
// key, plus an identity file whose UUID names the "account" that the folder's data belongs to.
//
// Reads come from memory. Own writes update memory at once and are written atomically; changes that
// arrive from elsewhere are found by rescanning the folder and comparing every record's bytes with
// memory, on file-watcher events (debounced), periodically (inotify is silent on many network and
// FUSE mounts) and on `synchronize()`. Sizes and times alone cannot tell: where times are whole
// seconds a rewrite within the second keeps them all, and a file another machine renamed over ours
// just after our write would pass for ours. A change is taken only once the file has held still
// across the debounce, so a half-synced file is never taken. Reports arrive on this object's thread
// one turn later.
//
// A value that could not be written (the folder away, the write failed) is kept as a key to retry: the
// next rescan that finds the folder back with the same identity reports the key as changed, so the
// caller merges it against whatever the folder holds by then instead of this store overwriting it.
// Another identity forgets such keys, as its settings replace ours.
//
// No folder, a folder that is missing (not mounted) or an unreadable identity file mean no account.
// An identity file is made only in a folder that holds none of our records, so a folder that is
// still arriving never starts a second identity.
class SyncFolderStore : public QObject {
    Q_OBJECT

public:
    enum class ChangeReason { serverChange, quotaViolation, accountChange };

    struct Quota {
        qint64 totalBytes = 1048576; // keys' UTF-8 and values together
        int keyCount = 1024;
    };

    struct Options {
        Quota quota;
        std::chrono::milliseconds debounce{500};
        std::chrono::milliseconds rescanInterval{30000}; // zero: no periodic rescan
        std::function<QDateTime()> clock;                // the current time; the system's when empty
    };

    // The store over `folder`, scanned once before this returns.
    explicit SyncFolderStore(std::optional<QString> folder, QObject* parent = nullptr);
    SyncFolderStore(std::optional<QString> folder, Options options, QObject* parent = nullptr);
    ~SyncFolderStore() override;

    // The process's store over the folder chosen in the platform settings, made on first use and
    // released when the application object goes.
    static std::shared_ptr<SyncFolderStore> standard();
    // The chosen folder, kept in "platform.ini" in `$XDG_CONFIG_HOME/dialcove/`; none by default.
    static std::optional<QString> configuredFolder();
    // Keeps the choice and moves the process's store to that folder.
    static void setConfiguredFolder(const std::optional<QString>& folder);
    static QString settingsPath();

    std::optional<QString> folder() const { return folder_; }
    // Moves to another folder (or none); what changes is reported as an account change.
    void setFolder(const std::optional<QString>& folder);

    std::optional<QByteArray> data(const QString& key) const;
    // Stores the bytes unless the quota forbids it, in which case a quota report follows and
    // nothing changes. Without a usable folder, or when the write fails, nothing is stored and the
    // key is reported as changed once the folder can take it again.
    void setData(const QString& key, const QByteArray& value);
    void remove(const QString& key);
    // Rescans now.
    void synchronize();

    // The folder's identity (its UUID in upper-case text), or nothing when there is no account.
    std::optional<QByteArray> identityToken() const { return identity_; }

signals:
    // Keys added, changed or removed by someone else, or refused by the quota.
    void changedExternally(const QStringList& keys, Platform::SyncFolderStore::ChangeReason reason);
    // The identity token changed: another folder, a folder gone or back, an identity arrived.
    void identityChanged();

private:
    struct Signature {
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds since the epoch
        qint64 changed = 0;  // status change, nanoseconds since the epoch
        quint64 inode = 0;
        friend bool operator==(const Signature&, const Signature&) = default;
    };
    // A record seen changed, until it has held still for a debounce.
    struct Pending {
        Signature signature;
        std::optional<QByteArray> bytes; // none when it changed as it was read
        QDateTime firstSeen;
    };
    struct Unwritten {
        std::optional<QByteArray> identity; // the account the value was meant for
        // Else the folder was there and the write itself failed (a full disk, say): retrying that
        // on every watcher event would churn the folder with temporary files, so it waits for the
        // periodic rescan or `synchronize()`.
        bool folderWasAway = false;
    };

    static std::optional<Signature> signatureOf(const QString& path);

    bool folderUsable() const;
    QString pathOf(const QString& fileName) const;
    QDateTime now() const;
    void rescan(bool report, bool retryFailedWrites);
    void keepUnwritten(const QString& key, bool folderWasAway, const QString& why);
    QStringList takeRetries(bool retryFailedWrites);
    void scanRecord(const QString& key, const QString& path);
    std::optional<QByteArray> readIdentity(bool fileExists, bool folderHoldsRecords);
    void watch(const QStringList& files);
    void report(QStringList keys, ChangeReason reason, bool identityChanged);

    std::optional<QString> folder_;
    Options options_;
    std::map<QString, QByteArray> entries_; // each record's bytes as last read or written
    QHash<QString, Pending> pending_;
    QHash<QString, Unwritten> unwritten_;
    QSet<QString> warned_; // keys whose failure has been logged since the last write that worked
    std::optional<QByteArray> identity_;
    QFileSystemWatcher watcher_;
    QHash<QString, quint64> watchedInodes_;
    QTimer debounce_;
    QTimer periodic_;
};

} // namespace Platform
