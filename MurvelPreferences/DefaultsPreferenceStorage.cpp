#include "MurvelPreferences/DefaultsPreferenceStorage.hpp"

namespace MurvelPreferences {

DefaultsPreferenceStorage::DefaultsPreferenceStorage(std::shared_ptr<Platform::UserDefaults> defaults)
    : defaults_(std::move(defaults)) {}

std::optional<QByteArray> DefaultsPreferenceStorage::data(const QString& key) const {
    return defaults_->data(key);
}

void DefaultsPreferenceStorage::set(const QByteArray& bytes, const QString& key) {
    defaults_->setData(key, bytes);
}

void DefaultsPreferenceStorage::remove(const QString& key) {
    defaults_->remove(key);
}

} // namespace MurvelPreferences
