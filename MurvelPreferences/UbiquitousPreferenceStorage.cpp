#include "MurvelPreferences/UbiquitousPreferenceStorage.hpp"

namespace MurvelPreferences {

namespace {

std::optional<PreferenceCloudIssue> issueOf(Platform::SyncFolderStore::ChangeReason reason) {
    switch (reason) {
    case Platform::SyncFolderStore::ChangeReason::quotaViolation:
        return PreferenceCloudIssue::quotaExceeded;
    case Platform::SyncFolderStore::ChangeReason::accountChange:
        return PreferenceCloudIssue::accountChanged;
    case Platform::SyncFolderStore::ChangeReason::serverChange:
        break;
    }
    return std::nullopt;
}

} // namespace

UbiquitousPreferenceStorage::UbiquitousPreferenceStorage(std::shared_ptr<Platform::SyncFolderStore> store,
                                                         QObject* parent)
    : QObject(parent), store_(std::move(store)) {
    connect(store_.get(), &Platform::SyncFolderStore::changedExternally, this,
            [this](const QStringList& keys, Platform::SyncFolderStore::ChangeReason reason) {
                // Handled a turn later, so that the report's sender has finished before the merge runs;
                // a report still queued when this adapter goes is dropped with it.
                QMetaObject::invokeMethod(
                    this,
                    [this, keys = QSet<QString>(keys.begin(), keys.end()), issue = issueOf(reason)] {
                        issue_ = issue;
                        if (ExternalChangeHandler handler = onExternalChange_)
                            handler(keys);
                    },
                    Qt::QueuedConnection);
            });
}

std::optional<QByteArray> UbiquitousPreferenceStorage::data(const QString& key) const {
    return store_->data(key);
}

void UbiquitousPreferenceStorage::set(const QByteArray& bytes, const QString& key) {
    store_->setData(key, bytes);
}

void UbiquitousPreferenceStorage::remove(const QString& key) {
    store_->remove(key);
}

void UbiquitousPreferenceStorage::synchronize() {
    store_->synchronize();
}

} // namespace MurvelPreferences
