#include "Dialcove/Services/ContactSettings.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "DialcoveCore/PreferenceKey.hpp"
#include "DialcoveCore/Shortcut.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <nlohmann/json.hpp>

using DialcoveCore::ContactPreferences;
using DialcoveCore::PhonePlan;
using DialcoveCore::PreferenceKey;
using DialcoveCore::Shortcut;
using MurvelPreferences::PreferenceSync;

namespace Dialcove {

namespace {

QString keyName(PreferenceKey key) {
    const std::string_view raw = rawValue(key);
    return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

} // namespace

ContactSettings::ContactSettings(std::shared_ptr<Platform::UserDefaults> defaults,
                                 std::optional<ContactPreferences> values, Sources sources, QObject* parent)
    : QObject(parent), defaults_(std::move(defaults)),
      region_(sources.region ? std::move(sources.region) : RegionProvider(&ContactSettings::systemRegion)),
      values_(values ? *values : ContactPreferences{true, regionPlan(), Shortcut::defaultShortcut()}) {
    assertMainThread();
    if (!defaults_)
        return;
    folder_ = sources.folder ? std::move(sources.folder) : Platform::SyncFolderStore::standard();
    startSync();
    // Another folder, or the folder gone or back, is another account: start over one turn later.
    accountObserver_ = connect(
        folder_.get(), &Platform::SyncFolderStore::identityChanged, this, [this] { startSync(); },
        Qt::QueuedConnection);
}

ContactSettings::~ContactSettings() {
    disconnect(accountObserver_);
    if (sync_)
        for (const QUuid& token : observers_)
            sync_->removeObserver(token);
}

std::optional<std::string> ContactSettings::systemRegion() {
    const QLocale::Territory territory = QLocale::system().territory();
    if (territory == QLocale::AnyTerritory)
        return std::nullopt;
    const QString code = QLocale::territoryToCode(territory);
    if (code.isEmpty())
        return std::nullopt;
    return code.toStdString();
}

void ContactSettings::setValues(const ContactPreferences& values) {
    if (values == values_)
        return;
    values_ = values;
    emit valuesChanged();
}

void ContactSettings::update(const DialcoveCore::PreferenceValue& value) {
    assertMainThread();
    ContactPreferences next = values_;
    next.apply(value);
    setValues(next);
    notifyChange();
}

void ContactSettings::reload() {
    assertMainThread();
    if (!sync_)
        return;
    // Read as plain JSON and decoded here, so that a value another version wrote falls back quietly.
    const auto stored = [this](PreferenceKey key) { return sync_->value<nlohmann::json>(keyName(key)); };

    const std::optional<nlohmann::json> enabled = stored(PreferenceKey::enabled);
    const std::optional<nlohmann::json> plan = stored(PreferenceKey::phonePlan);
    const std::optional<nlohmann::json> shortcut = stored(PreferenceKey::shortcut);
    std::optional<PhonePlan> decodedPlan = plan ? DialcoveCore::decodePhonePlan(*plan) : std::nullopt;
    std::optional<Shortcut> decodedShortcut = shortcut ? Shortcut::decode(*shortcut) : std::nullopt;

    setValues({enabled && enabled->is_boolean() ? enabled->get<bool>() : true,
               decodedPlan ? *decodedPlan : regionPlan(),
               decodedShortcut ? *decodedShortcut : Shortcut::defaultShortcut()});
    setSyncUnavailable(sync_->issue().has_value());
    notifyChange();
}

void ContactSettings::startSync() {
    assertMainThread();
    if (!defaults_)
        return;
    if (sync_)
        for (const QUuid& token : observers_)
            sync_->removeObserver(token);
    observers_.clear();
    // One sync at a time over the stores: the old one goes before the new one adopts the account.
    sync_.reset();

    QSet<QString> keys;
    for (const PreferenceKey key : DialcoveCore::allPreferenceKeys)
        keys.insert(keyName(key));
    sync_ = std::make_unique<PreferenceSync>(defaults_, keys, folder_);
    PreferenceSync* sync = sync_.get();
    connect(sync, &PreferenceSync::issueChanged, this,
            [this, sync] { setSyncUnavailable(sync->issue().has_value()); });
    for (const PreferenceKey key : DialcoveCore::allPreferenceKeys)
        observers_.push_back(sync->addObserver(keyName(key), [self = QPointer<ContactSettings>(this)] {
            if (self)
                self->reload();
        }));
    reload();
}

PhonePlan ContactSettings::regionPlan() const {
    const std::optional<std::string> region = region_();
    return DialcoveCore::phonePlanForRegion(region ? std::optional<std::string_view>(*region) : std::nullopt);
}

void ContactSettings::setSyncUnavailable(bool unavailable) {
    if (unavailable == syncUnavailable_)
        return;
    syncUnavailable_ = unavailable;
    emit syncUnavailableChanged();
}

void ContactSettings::notifyChange() {
    // A copy, so that a handler may replace itself.
    const std::function<void()> handler = onChange_;
    if (handler)
        handler();
}

} // namespace Dialcove
