#include "Dialcove/Shell/AppUpdateNotifier.hpp"

#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"
#include "MurvelCommerceUpdates/UpdateChecker.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QDateTime>
#include <QPointer>

namespace Dialcove {

bool argumentsAskForSnapshot(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--snapshot-")))
            return true;
    return false;
}

MurvelUI::UpdateNotifier* makeUpdateNotifier(const QStringList& arguments,
                                             std::shared_ptr<Platform::UserDefaults> defaults,
                                             QObject* parent) {
    if (argumentsAskForSnapshot(arguments))
        return nullptr;
    const QString version = QCoreApplication::applicationVersion();
    return new MurvelCommerceUpdates::UpdateChecker(
        QStringLiteral("dialcove"), version.isEmpty() ? std::nullopt : std::optional(version),
        std::make_shared<MurvelCommerceUpdates::SiteUpdateFeed>(), std::move(defaults),
        [] { return QDateTime::currentDateTimeUtc(); }, parent);
}

MurvelUI::UpdateNotifier* appUpdateNotifier() {
    // Owned by the application, so a check still running at exit goes with it, unanswered.
    static bool made = false;
    static QPointer<MurvelUI::UpdateNotifier> notifier;
    if (!made && QCoreApplication::instance()) {
        made = true;
        notifier = makeUpdateNotifier(QCoreApplication::arguments(), Platform::UserDefaults::standard(),
                                      QCoreApplication::instance());
    }
    return notifier;
}

} // namespace Dialcove
