#pragma once

#include "MurvelPreferences/PreferenceAccountIdentity.hpp"
#include "MurvelPreferences/PreferenceCloudIssue.hpp"
#include "MurvelPreferences/PreferenceCloudStorage.hpp"
#include "MurvelPreferences/PreferenceStorage.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace Platform {
class SyncFolderStore;
class UserDefaults;
} // namespace Platform

namespace MurvelPreferences {

// Keeps a fixed set of preference keys in a local store and a cloud store at once, each key as a
// versioned record in both. Main thread only.
//
// A write becomes the key's next revision. When another machine changes a key, the two stores are
// merged by the record's conflict rule and the key's observers run. Reads always come from the local
// copy, which is the merged state. When the account behind the cloud changes, the local copies of
// another account's data are dropped and nothing more is merged or written (`issue` stays
// `accountChanged`); the owner builds a new sync then. Nothing is ever reported as an error: `issue`
// and its `issueChanged` signal are the only reports.
//
// Observer handlers and `issueChanged` slots run in the middle of a merge or a write. They may read
// and write the sync; a slot that wants to replace it should do so with deleteLater or a queued call.
class PreferenceSync final : public QObject {
    Q_OBJECT

public:
    using AccountProvider = std::function<PreferenceAccountIdentity()>;

    static inline const QString recordPrefix = QStringLiteral("syncedPreference.v1.");
    static inline const QString writerKey = QStringLiteral("syncedPreference.writer");
    static inline const QString accountKey = QStringLiteral("syncedPreference.account");
    static inline const QString archivedTokenKey = QStringLiteral("syncedPreference.archivedAccountToken");
    static inline const QString accountMarkerKey = QStringLiteral("syncedPreference.accountMarker");

    // Over stores the host supplies. `accountProvider`, when given, is asked for the current identity
    // at every account check. Nothing watches for identity changes.
    PreferenceSync(std::shared_ptr<PreferenceStorage> local, std::shared_ptr<PreferenceCloudStorage> cloud,
                   QSet<QString> keys, QString writerID, PreferenceAccountIdentity account,
                   AccountProvider accountProvider = {}, QObject* parent = nullptr);

    // Over the user defaults and the sync folder (the process's own when none is given), following
    // the folder's identity.
    PreferenceSync(std::shared_ptr<Platform::UserDefaults> defaults, QSet<QString> keys,
                   std::shared_ptr<Platform::SyncFolderStore> folder = nullptr, QObject* parent = nullptr);

    ~PreferenceSync() override;

    // The local value of a synced key decoded as T, or nothing when the key is not synced, has no
    // record, was removed or does not decode as T.
    template <typename T> std::optional<T> value(const QString& key) const;

    // Writes the value's JSON as the key's next revision. Values that cannot be encoded or encode to
    // more than 32,768 bytes are dropped. The key's observers are not called.
    template <typename T> void set(const T& value, const QString& key);

    // Writes the key's next revision as a deletion.
    void remove(const QString& key);
    bool isRemoved(const QString& key) const;

    // The handler runs on the main thread whenever a merge changes the key's local record. Keys are
    // not checked against the synced set.
    QUuid addObserver(const QString& key, std::function<void()> handler);
    void removeObserver(const QUuid& token);

    std::optional<PreferenceCloudIssue> issue() const { return issue_; }

signals:
    // `issue` changed, also when no key did (a quota report, a lost account).
    void issueChanged();

private:
    struct Stored {
        bool hasBytes = false;
        std::optional<MurvelPreferencesCore::PreferenceRecord> record;
        bool unreadable() const { return hasBytes && !record; }
    };

    static PreferenceAccountIdentity accountIdentity(const std::optional<QByteArray>& token,
                                                     Platform::UserDefaults& defaults);

    void start();
    Stored record(const PreferenceStorage& store, const QString& storageKey) const;
    std::optional<QByteArray> localPayload(const QString& key) const;
    void adoptAccount();
    bool refreshAccount();
    // The keys whose observers ran.
    QSet<QString> handleExternalChange(const QSet<QString>& storageKeys);
    void write(const std::optional<QByteArray>& payload, const QString& key);
    void removeLocalRecords();
    void setIssue(std::optional<PreferenceCloudIssue> issue);
    // False when a handler destroyed this sync.
    bool notifyObservers(const QString& key);

    std::shared_ptr<PreferenceStorage> local_;
    std::shared_ptr<PreferenceCloudStorage> cloud_;
    QSet<QString> keys_;
    QString writerID_;
    PreferenceAccountIdentity account_ = PreferenceAccountIdentity::unavailable();
    // True while the sync folder store has no folder to use; none over stores the host supplies.
    std::function<bool()> noFolderChosen_;
    AccountProvider accountProvider_;
    std::map<QUuid, std::pair<QString, std::function<void()>>> observers_;
    std::optional<PreferenceCloudIssue> issue_;
};

template <typename T> std::optional<T> PreferenceSync::value(const QString& key) const {
    const std::optional<QByteArray> payload = localPayload(key);
    if (!payload)
        return std::nullopt;
    const nlohmann::json json = nlohmann::json::parse(payload->begin(), payload->end(), nullptr, false);
    if (json.is_discarded())
        return std::nullopt;
    try {
        return json.get<T>();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

template <typename T> void PreferenceSync::set(const T& value, const QString& key) {
    std::string encoded;
    try {
        encoded = nlohmann::json(value).dump();
    } catch (const std::exception&) {
        return;
    }
    if (encoded.size() > MurvelPreferencesCore::PreferenceRecord::maximumPayloadBytes)
        return;
    write(QByteArray::fromStdString(encoded), key);
}

} // namespace MurvelPreferences
