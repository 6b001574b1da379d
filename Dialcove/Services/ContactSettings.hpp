#pragma once

#include "DialcoveCore/ContactPreferences.hpp"
#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PreferenceValue.hpp"

#include <QMetaObject>
#include <QObject>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace MurvelPreferences {
class PreferenceSync;
} // namespace MurvelPreferences

namespace Platform {
class SyncFolderStore;
class UserDefaults;
} // namespace Platform

namespace Dialcove {

// The user's contact settings (shortcut enabled, phone plan, shortcut), kept in step with the
// synced preferences "enabled", "phonePlan" and "shortcut". Main thread only.
//
// With user defaults it reads the values through a PreferenceSync over them and the sync folder,
// reloads whenever another machine changes a key, and builds a new sync when the folder's identity
// (the account) changes. Without defaults it holds its values in memory only. A stored value that is
// missing or does not decode falls back to its default: enabled, the locale region's plan, the
// default shortcut.
//
// A caller that changes a setting calls `update` (which stores nothing) and then, when `sync()` is
// present, the sync's `set` with the same value under the key's raw name.
class ContactSettings final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool syncUnavailable READ syncUnavailable NOTIFY syncUnavailableChanged)

public:
    // The region code ("DE") whose phone plan is the default, or none.
    using RegionProvider = std::function<std::optional<std::string>()>;

    struct Sources {
        // Whose identity stands for the account; the process's own folder when none.
        std::shared_ptr<Platform::SyncFolderStore> folder;
        // Asked at construction and at every reload; the system locale's region when empty.
        RegionProvider region;
    };

    // `values` none: the defaults, until the first reload replaces them.
    explicit ContactSettings(std::shared_ptr<Platform::UserDefaults> defaults,
                             std::optional<DialcoveCore::ContactPreferences> values = std::nullopt,
                             Sources sources = {}, QObject* parent = nullptr);
    ~ContactSettings() override;

    // The region of the system locale (from LANG and LC_ALL), none for the C locale.
    static std::optional<std::string> systemRegion();

    const DialcoveCore::ContactPreferences& values() const { return values_; }
    // Changes memory only: no onChange, nothing stored.
    void setValues(const DialcoveCore::ContactPreferences& values);

    // Whether the sync reports an issue: no account, the quota exceeded, the account changed.
    bool syncUnavailable() const { return syncUnavailable_; }

    // The sync in use, through which a changed value is stored; none without defaults.
    MurvelPreferences::PreferenceSync* sync() const { return sync_.get(); }

    // Runs after every reload and every update.
    void setOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

    // Replaces the one value named, then runs onChange. Stores nothing.
    void update(const DialcoveCore::PreferenceValue& value);
    // Reads the three values from the sync and runs onChange; does nothing without a sync.
    void reload();
    // Builds a new sync over the defaults, observes its keys and reloads; not from a sync handler.
    void startSync();

signals:
    void valuesChanged();
    void syncUnavailableChanged();

private:
    DialcoveCore::PhonePlan regionPlan() const;
    void setSyncUnavailable(bool unavailable);
    void notifyChange();

    std::shared_ptr<Platform::UserDefaults> defaults_;
    std::shared_ptr<Platform::SyncFolderStore> folder_;
    RegionProvider region_;
    DialcoveCore::ContactPreferences values_;
    bool syncUnavailable_ = false;
    std::function<void()> onChange_;
    std::unique_ptr<MurvelPreferences::PreferenceSync> sync_;
    std::vector<QUuid> observers_;
    QMetaObject::Connection accountObserver_;
};

} // namespace Dialcove
