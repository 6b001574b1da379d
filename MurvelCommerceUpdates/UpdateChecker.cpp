#include "MurvelCommerceUpdates/UpdateChecker.hpp"

#include "MurvelCommerceUpdates/MakerSite.hpp"
#include "MurvelCommerceUpdates/UpdateLogging.hpp"
#include "MurvelCommerceUpdatesCore/UpdateManifest.hpp"
#include "MurvelCommerceUpdatesCore/UpdateOffer.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"

#include <algorithm>

namespace MurvelCommerceUpdates {

using namespace MurvelCommerceUpdatesCore;

namespace {

bool isAppIdentifier(const QString& app) {
    return !app.isEmpty() && std::all_of(app.begin(), app.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    });
}

std::optional<AppVersion> parsed(const std::optional<QString>& text) {
    if (!text)
        return std::nullopt;
    return AppVersion::parsed(text->toStdString());
}

UpdateSchedule::Date scheduleDate(const QDateTime& date) {
    return UpdateSchedule::Date(std::chrono::milliseconds(date.toMSecsSinceEpoch()));
}

} // namespace

UpdateChecker::UpdateChecker(QString app, std::optional<QString> currentVersion,
                             std::shared_ptr<UpdateFeed> feed,
                             std::shared_ptr<Platform::UserDefaults> defaults, Clock now, QObject* parent)
    : UpdateNotifier(parent), app_(std::move(app)), feed_(std::move(feed)), defaults_(std::move(defaults)),
      now_(std::move(now)) {
    if (isAppIdentifier(app_))
        current_ = parsed(currentVersion);
    else
        qCWarning(lcUpdates) << "no update checks for the app identifier" << app_;

    // Only a stored date counts: text would convert to one, and a string is no answer.
    const std::optional<QVariant> lastAnswer = defaults_->object(lastAnswerKey);
    if (lastAnswer && lastAnswer->typeId() == QMetaType::QDateTime && lastAnswer->toDateTime().isValid()) {
        last_ = UpdateSchedule::Last::answered(scheduleDate(lastAnswer->toDateTime()));
        published_ = parsed(defaults_->string(publishedKey));
    }
    recompute();
}

void UpdateChecker::refresh() {
    if (checking_ || !current_)
        return;
    if (!UpdateSchedule::isDue(last_, readClock().first))
        return;
    checking_ = true;
    // The answer is always handled on a later turn of the event loop, even from a feed that
    // answers at once, and never after this checker is gone.
    feed_->fetch(this, [this](FeedResult result) {
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { finish(result); }, Qt::QueuedConnection);
    });
}

void UpdateChecker::setAside() {
    if (!published_)
        return;
    defaults_->setString(setAsideKey, QString::fromStdString(published_->description()));
    recompute();
}

void UpdateChecker::finish(const FeedResult& result) {
    checking_ = false;
    std::variant<UpdateManifest, UpdateFailure> outcome = UpdateFailure::unreachable;
    if (const auto* bytes = std::get_if<QByteArray>(&result))
        outcome = UpdateManifest::decoded(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    else
        outcome = std::get<UpdateFailure>(result);

    const auto [now, stored] = readClock();
    if (const auto* failure = std::get_if<UpdateFailure>(&outcome)) {
        // The default build's site never resolves: its failure is no news.
        if (*failure == UpdateFailure::unreachable &&
            MurvelCommerceUpdatesCore::UpdateSite::isReserved(MakerSite::current().toStdString()))
            qCDebug(lcUpdates, "Update check failed: %s", name(*failure).data());
        else
            qCInfo(lcUpdates, "Update check failed: %s", name(*failure).data());
        if (*failure == UpdateFailure::unreachable) {
            last_ = UpdateSchedule::Last::failed(now);
        } else {
            // The site answered, if not with a manifest: ask again in 15 days, not in an hour.
            last_ = UpdateSchedule::Last::answered(now);
            defaults_->setObject(lastAnswerKey, stored);
        }
    } else {
        const auto& versions = std::get<UpdateManifest>(outcome).versions();
        const auto entry = versions.find(app_.toStdString());
        published_ = entry == versions.end() ? std::nullopt : std::optional(entry->second);
        last_ = UpdateSchedule::Last::answered(now);
        defaults_->setObject(lastAnswerKey, stored);
        if (published_)
            defaults_->setString(publishedKey, QString::fromStdString(published_->description()));
        else
            defaults_->remove(publishedKey);
    }
    recompute();
}

void UpdateChecker::recompute() {
    if (!current_)
        return;
    const std::optional<AppVersion> setAside = parsed(defaults_->string(setAsideKey));
    std::optional<MurvelUI::AvailableUpdate> offer;
    if (const std::optional<AppVersion> version = UpdateOffer::offer(published_, *current_, setAside))
        offer = MurvelUI::AvailableUpdate{QString::fromStdString(version->description()),
                                          MakerSite::downloadLink(app_)};
    if (offer == available_)
        return;
    available_ = std::move(offer);
    emit availableChanged();
}

std::pair<UpdateSchedule::Date, QDateTime> UpdateChecker::readClock() const {
    const QDateTime now = now_().toUTC();
    return {scheduleDate(now), now};
}

} // namespace MurvelCommerceUpdates
