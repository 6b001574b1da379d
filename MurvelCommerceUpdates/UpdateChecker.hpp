#pragma once

#include "MurvelCommerceUpdates/UpdateFeed.hpp"
#include "MurvelCommerceUpdatesCore/AppVersion.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSchedule.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"
#include "Platform/UserDefaults.hpp"

#include <QDateTime>
#include <functional>
#include <memory>

namespace MurvelCommerceUpdates {

// The update on offer for the panel's update card. Asks the maker's manifest when a check is due
// (15 days after the site last answered, an hour after it could not be reached) and offers the
// published version while it is newer than the running one and than a version the user set
// aside. Everything it remembers lives in three user defaults, so an offer survives a restart
// without the network. Failures are logged and change only the schedule. Main thread only.
class UpdateChecker final : public MurvelUI::UpdateNotifier {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    static inline const QString lastAnswerKey = QStringLiteral("MurvelWorksUpdateLastAnswer");
    static inline const QString publishedKey = QStringLiteral("MurvelWorksUpdatePublished");
    static inline const QString setAsideKey = QStringLiteral("MurvelWorksUpdateSetAside");

    // `app` names the app in the manifest and in the download link: ASCII lower-case letters and
    // digits only; with any other identifier the checker never checks nor offers. Without a
    // `currentVersion` that parses, nothing is ever checked or offered either.
    UpdateChecker(QString app, std::optional<QString> currentVersion, std::shared_ptr<UpdateFeed> feed,
                  std::shared_ptr<Platform::UserDefaults> defaults, Clock now, QObject* parent = nullptr);

    std::optional<MurvelUI::AvailableUpdate> available() const override { return available_; }
    // Starts a check when one is due and none runs; returns at once.
    void refresh() override;
    // "Not now": stops offering the published version until a greater one is published.
    void setAside() override;

    bool isChecking() const { return checking_; }
    MurvelCommerceUpdatesCore::UpdateSchedule::Last last() const { return last_; }

private:
    void finish(const FeedResult& result);
    void recompute();
    // The clock once, as a date of the schedule and as the value stored.
    std::pair<MurvelCommerceUpdatesCore::UpdateSchedule::Date, QDateTime> readClock() const;

    std::optional<MurvelUI::AvailableUpdate> available_;
    QString app_;
    std::optional<MurvelCommerceUpdatesCore::AppVersion> current_;
    std::shared_ptr<UpdateFeed> feed_;
    std::shared_ptr<Platform::UserDefaults> defaults_;
    Clock now_;
    MurvelCommerceUpdatesCore::UpdateSchedule::Last last_ =
        MurvelCommerceUpdatesCore::UpdateSchedule::Last::never();
    bool checking_ = false;
    std::optional<MurvelCommerceUpdatesCore::AppVersion> published_;
};

} // namespace MurvelCommerceUpdates
