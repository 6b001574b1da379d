#pragma once

#include "MurvelPreferences/PreferenceCloudStorage.hpp"

#include <QHash>

// Stores in memory, for driving the sync's rules directly.
class MemoryStorage : public MurvelPreferences::PreferenceStorage {
public:
    std::optional<QByteArray> data(const QString& key) const override {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<QByteArray>(*found);
    }
    void set(const QByteArray& bytes, const QString& key) override { values.insert(key, bytes); }
    void remove(const QString& key) override { values.remove(key); }

    QHash<QString, QByteArray> values;
};

class MemoryCloud : public MurvelPreferences::PreferenceCloudStorage {
public:
    std::optional<QByteArray> data(const QString& key) const override { return stored.data(key); }
    void set(const QByteArray& bytes, const QString& key) override { stored.set(bytes, key); }
    void remove(const QString& key) override { stored.remove(key); }

    const ExternalChangeHandler& onExternalChange() const override { return handler; }
    void setOnExternalChange(ExternalChangeHandler next) override { handler = std::move(next); }
    std::optional<MurvelPreferences::PreferenceCloudIssue> issue() const override { return currentIssue; }
    void synchronize() override { ++synchronizations; }

    // What the platform's notification would bring.
    void report(const QSet<QString>& keys,
                std::optional<MurvelPreferences::PreferenceCloudIssue> issue = {}) {
        currentIssue = issue;
        if (handler)
            handler(keys);
    }

    MemoryStorage stored;
    ExternalChangeHandler handler;
    std::optional<MurvelPreferences::PreferenceCloudIssue> currentIssue;
    int synchronizations = 0;
};
