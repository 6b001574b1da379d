#pragma once

#include "MurvelPreferences/PreferenceStorage.hpp"
#include "Platform/UserDefaults.hpp"

#include <memory>

namespace MurvelPreferences {

// Preference bytes kept in the user defaults.
class DefaultsPreferenceStorage final : public PreferenceStorage {
public:
    explicit DefaultsPreferenceStorage(std::shared_ptr<Platform::UserDefaults> defaults);

    // Only bytes: anything else stored under the key reads as nothing.
    std::optional<QByteArray> data(const QString& key) const override;
    void set(const QByteArray& bytes, const QString& key) override;
    void remove(const QString& key) override;

private:
    std::shared_ptr<Platform::UserDefaults> defaults_;
};

} // namespace MurvelPreferences
