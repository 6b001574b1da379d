#include "Dialcove/Services/LocalRecentStorage.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

using DialcoveCore::ContactID;

namespace Dialcove {

LocalRecentStorage::LocalRecentStorage(std::shared_ptr<Platform::UserDefaults> defaults)
    : defaults_(std::move(defaults)) {}

std::vector<ContactID> LocalRecentStorage::ids() const {
    assertMainThread();
    std::vector<ContactID> ids;
    for (const QString& raw : defaults_->stringArray(key).value_or(QStringList()))
        ids.emplace_back(raw.toStdString());
    return ids;
}

void LocalRecentStorage::setIds(const std::vector<ContactID>& ids) {
    assertMainThread();
    QStringList raw;
    for (std::size_t i = 0; i < ids.size() && i < capacity; ++i)
        raw << QString::fromStdString(ids[i].rawValue);
    defaults_->setStringArray(key, raw);
}

} // namespace Dialcove
