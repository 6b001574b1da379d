#include "MurvelPreferences/PreferenceSync.hpp"

#include "MurvelPreferences/DefaultsPreferenceStorage.hpp"
#include "MurvelPreferences/MurvelPreferencesLogging.hpp"
#include "MurvelPreferences/UbiquitousPreferenceStorage.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QThread>
#include <limits>

using MurvelPreferencesCore::PreferenceRecord;

namespace MurvelPreferences {

namespace {

constexpr qsizetype maximumStoredRecordBytes = 65536;

void expectMainThread() {
    Q_ASSERT_X(!QCoreApplication::instance() ||
                   QThread::currentThread() == QCoreApplication::instance()->thread(),
               "PreferenceSync", "used off the main thread");
}

QByteArray freshIdentifier() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toUtf8();
}

// The record both stores should hold: the conflict rule's winner, or the one record there is.
std::optional<PreferenceRecord> winnerOf(const std::optional<PreferenceRecord>& local,
                                         const std::optional<PreferenceRecord>& cloud) {
    if (local && cloud)
        return local->resolved(*cloud);
    return local ? local : cloud;
}

const char* describe(const std::optional<PreferenceCloudIssue>& issue) {
    if (!issue)
        return "none";
    switch (*issue) {
    case PreferenceCloudIssue::quotaExceeded:
        return "quota exceeded";
    case PreferenceCloudIssue::accountChanged:
        return "account changed";
    case PreferenceCloudIssue::accountUnavailable:
        return "account unavailable";
    }
    return "unknown";
}

} // namespace

PreferenceSync::PreferenceSync(std::shared_ptr<PreferenceStorage> local,
                               std::shared_ptr<PreferenceCloudStorage> cloud, QSet<QString> keys,
                               QString writerID, PreferenceAccountIdentity account,
                               AccountProvider accountProvider, QObject* parent)
    : QObject(parent), local_(std::move(local)), cloud_(std::move(cloud)), keys_(std::move(keys)),
      writerID_(std::move(writerID)), account_(std::move(account)),
      accountProvider_(std::move(accountProvider)) {
    expectMainThread();
    start();
}

PreferenceSync::PreferenceSync(std::shared_ptr<Platform::UserDefaults> defaults, QSet<QString> keys,
                               std::shared_ptr<Platform::SyncFolderStore> folder, QObject* parent)
    : QObject(parent), keys_(std::move(keys)) {
    expectMainThread();
    if (!folder)
        folder = Platform::SyncFolderStore::standard();

    // A writer that could never sign a valid record would silently drop every write: make a new one.
    writerID_ = defaults->string(writerKey).value_or(QString());
    const qsizetype writerBytes = writerID_.toUtf8().size();
    if (writerBytes == 0 || writerBytes > qsizetype(PreferenceRecord::maximumWriterBytes))
        writerID_ = QString::fromUtf8(freshIdentifier());
    defaults->setString(writerKey, writerID_);

    local_ = std::make_shared<DefaultsPreferenceStorage>(defaults);
    cloud_ = std::make_shared<UbiquitousPreferenceStorage>(folder);
    noFolderChosen_ = [folder] { return !folder->folder().has_value(); };
    account_ = accountIdentity(folder->identityToken(), *defaults);
    accountProvider_ = [defaults, folder] { return accountIdentity(folder->identityToken(), *defaults); };
    start();

    connect(folder.get(), &Platform::SyncFolderStore::identityChanged, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { handleExternalChange({}); }, Qt::QueuedConnection);
    });
}

PreferenceSync::~PreferenceSync() = default;

void PreferenceSync::start() {
    adoptAccount();
    cloud_->setOnExternalChange([self = QPointer<PreferenceSync>(this)](const QSet<QString>& storageKeys) {
        if (self)
            self->handleExternalChange(storageKeys);
    });
    QSet<QString> everyKey;
    for (const QString& key : std::as_const(keys_))
        everyKey.insert(recordPrefix + key);
    QPointer<PreferenceSync> self(this);
    handleExternalChange(everyKey);
    if (self)
        cloud_->synchronize();
}

PreferenceAccountIdentity PreferenceSync::accountIdentity(const std::optional<QByteArray>& token,
                                                          Platform::UserDefaults& defaults) {
    if (!token)
        return PreferenceAccountIdentity::unavailable();
    // The folder's identity is already plain bytes, so it is its own archive.
    const std::optional<QByteArray> archived = defaults.data(archivedTokenKey);
    const std::optional<QByteArray> marker = defaults.data(accountMarkerKey);
    if (archived && marker && !marker->isEmpty() && *archived == *token)
        return PreferenceAccountIdentity::account(*marker);
    const QByteArray fresh = freshIdentifier();
    defaults.setData(archivedTokenKey, *token);
    defaults.setData(accountMarkerKey, fresh);
    return PreferenceAccountIdentity::account(fresh);
}

PreferenceSync::Stored PreferenceSync::record(const PreferenceStorage& store,
                                              const QString& storageKey) const {
    const std::optional<QByteArray> bytes = store.data(storageKey);
    if (!bytes)
        return {};
    if (bytes->size() > maximumStoredRecordBytes)
        return {true, std::nullopt};
    std::optional<PreferenceRecord> decoded = PreferenceRecord::decoded(bytes->toStdString());
    if (!decoded || !decoded->isValid())
        return {true, std::nullopt};
    // Every value is written as JSON, so a payload that is not is damage, not a newer value: it must
    // not win a merge over a good copy.
    if (decoded->payload() && !nlohmann::json::accept(*decoded->payload()))
        return {true, std::nullopt};
    return {true, std::move(decoded)};
}

std::optional<QByteArray> PreferenceSync::localPayload(const QString& key) const {
    expectMainThread();
    if (!keys_.contains(key))
        return std::nullopt;
    const Stored stored = record(*local_, recordPrefix + key);
    if (!stored.record || !stored.record->payload())
        return std::nullopt;
    return QByteArray::fromStdString(*stored.record->payload());
}

bool PreferenceSync::isRemoved(const QString& key) const {
    expectMainThread();
    if (!keys_.contains(key))
        return false;
    const Stored stored = record(*local_, recordPrefix + key);
    return stored.record && !stored.record->payload();
}

void PreferenceSync::remove(const QString& key) {
    write(std::nullopt, key);
}

QUuid PreferenceSync::addObserver(const QString& key, std::function<void()> handler) {
    expectMainThread();
    const QUuid token = QUuid::createUuid();
    observers_.emplace(token, std::make_pair(key, std::move(handler)));
    return token;
}

void PreferenceSync::removeObserver(const QUuid& token) {
    expectMainThread();
    observers_.erase(token);
}

void PreferenceSync::adoptAccount() {
    if (!account_.isAccount())
        return; // without an account there is nothing to reconcile: local-only settings stay
    const std::optional<QByteArray> stored = local_->data(accountKey);
    if (stored == account_.marker())
        return;
    // Records of another account are not this account's settings. With no marker at all they were
    // written without any account, and the merge settles them against the cloud instead.
    if (stored) {
        qCInfo(lcSync) << "local settings belong to another account, dropped";
        removeLocalRecords();
    }
    local_->set(account_.marker(), accountKey);
}

bool PreferenceSync::refreshAccount() {
    if (issue_ == PreferenceCloudIssue::accountChanged)
        return false;
    const PreferenceAccountIdentity current = accountProvider_ ? accountProvider_() : account_;
    if (current.isAccount() && current != account_) {
        const std::optional<QByteArray> stored = local_->data(accountKey);
        if (stored && *stored != current.marker()) {
            qCInfo(lcSync) << "account changed, local settings dropped";
            removeLocalRecords();
            setIssue(PreferenceCloudIssue::accountChanged);
            return false;
        }
        if (!stored)
            local_->set(current.marker(), accountKey);
    }
    account_ = current;
    if (account_.kind() == PreferenceAccountIdentity::Kind::unavailable) {
        setIssue(PreferenceCloudIssue::accountUnavailable);
        return false;
    }
    if (issue_ == PreferenceCloudIssue::accountUnavailable)
        setIssue(std::nullopt);
    return true;
}

QSet<QString> PreferenceSync::handleExternalChange(const QSet<QString>& storageKeys) {
    expectMainThread();
    const PreferenceAccountIdentity before = account_;
    if (!refreshAccount())
        return {};

    // With a provider, the account check above has already judged an account change.
    const bool accountReportIsFinal =
        !accountProvider_ || account_.kind() == PreferenceAccountIdentity::Kind::isolated;
    const std::optional<PreferenceCloudIssue> cloudIssue = cloud_->issue();
    if (cloudIssue == PreferenceCloudIssue::quotaExceeded ||
        cloudIssue == PreferenceCloudIssue::accountUnavailable) {
        setIssue(cloudIssue);
        return {};
    }
    if (cloudIssue == PreferenceCloudIssue::accountChanged && accountReportIsFinal) {
        removeLocalRecords();
        setIssue(PreferenceCloudIssue::accountChanged);
        return {};
    }
    if (issue_ == PreferenceCloudIssue::accountChanged)
        return {};
    setIssue(std::nullopt);

    const bool mergeEveryKey =
        storageKeys.isEmpty() || before.kind() == PreferenceAccountIdentity::Kind::unavailable;
    QSet<QString> notified;
    for (const QString& key : std::as_const(keys_)) {
        const QString storageKey = recordPrefix + key;
        if (!mergeEveryKey && !storageKeys.contains(storageKey))
            continue;
        // An unreadable copy on either side blocks the key rather than being overwritten.
        const Stored local = record(*local_, storageKey);
        if (local.unreadable())
            continue;
        const Stored cloud = record(*cloud_, storageKey);
        if (cloud.unreadable())
            continue;
        const std::optional<PreferenceRecord> winner = winnerOf(local.record, cloud.record);
        if (!winner)
            continue;
        const std::optional<std::string> encoded = winner->encoded();
        if (!encoded)
            continue;
        const QByteArray bytes = QByteArray::fromStdString(*encoded);
        if (!cloud.record || *cloud.record != *winner)
            cloud_->set(bytes, storageKey);
        if (!local.record || *local.record != *winner) {
            local_->set(bytes, storageKey);
            notified.insert(key);
            if (!notifyObservers(key))
                return notified;
        }
    }
    return notified;
}

void PreferenceSync::write(const std::optional<QByteArray>& payload, const QString& key) {
    expectMainThread();
    if (!keys_.contains(key) || writerID_.isEmpty())
        return;
    QPointer<PreferenceSync> self(this);
    QSet<QString> merged;
    if (account_.kind() == PreferenceAccountIdentity::Kind::unavailable) {
        merged = handleExternalChange({}); // a returning account merges before the write
        if (!self)
            return;
    }
    if (!refreshAccount() && issue_ != PreferenceCloudIssue::accountUnavailable)
        return;

    const QString storageKey = recordPrefix + key;
    Stored cloud;
    if (issue_ != PreferenceCloudIssue::accountUnavailable) {
        cloud = record(*cloud_, storageKey);
        if (cloud.unreadable())
            return;
    }
    const Stored local = record(*local_, storageKey);
    if (local.unreadable())
        return;

    const std::optional<PreferenceRecord> base = winnerOf(local.record, cloud.record);
    const std::uint64_t baseRevision = base ? base->revision() : 0;
    if (baseRevision == std::numeric_limits<std::uint64_t>::max())
        return;
    std::optional<std::string> bytes;
    if (payload)
        bytes = payload->toStdString();
    const PreferenceRecord next(baseRevision + 1, writerID_.toStdString(), std::move(bytes));
    if (!next.isValid())
        return;
    const std::optional<std::string> encoded = next.encoded();
    if (!encoded)
        return;
    const QByteArray stored = QByteArray::fromStdString(*encoded);
    local_->set(stored, storageKey);
    if (!issue_)
        cloud_->set(stored, storageKey);
    // The merge just before told the key's observers of a value this write has now replaced.
    if (merged.contains(key))
        notifyObservers(key);
}

void PreferenceSync::removeLocalRecords() {
    for (const QString& key : std::as_const(keys_))
        local_->remove(recordPrefix + key);
}

void PreferenceSync::setIssue(std::optional<PreferenceCloudIssue> issue) {
    if (issue == issue_)
        return;
    // Without a chosen folder there is no account to reach, as on every fresh install: no news.
    if (issue == PreferenceCloudIssue::accountUnavailable && noFolderChosen_ && noFolderChosen_())
        qCDebug(lcSync) << "sync issue:" << describe(issue) << "(no sync folder is set)";
    else
        qCInfo(lcSync) << "sync issue:" << describe(issue);
    issue_ = issue;
    emit issueChanged();
}

bool PreferenceSync::notifyObservers(const QString& key) {
    std::vector<std::function<void()>> handlers;
    for (const auto& [token, observer] : observers_)
        if (observer.first == key)
            handlers.push_back(observer.second);
    QPointer<PreferenceSync> self(this);
    for (const std::function<void()>& handler : handlers) {
        handler();
        if (!self)
            return false;
    }
    return true;
}

} // namespace MurvelPreferences
