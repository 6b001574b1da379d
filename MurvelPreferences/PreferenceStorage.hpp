#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace MurvelPreferences {

// Opaque bytes under string keys.
class PreferenceStorage {
public:
    virtual ~PreferenceStorage() = default;

    virtual std::optional<QByteArray> data(const QString& key) const = 0;
    virtual void set(const QByteArray& bytes, const QString& key) = 0;
    virtual void remove(const QString& key) = 0;
};

} // namespace MurvelPreferences
