#include "MurvelCommerceUpdates/MakerSite.hpp"

#include "MurvelCommerceUpdates/UpdateLogging.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"

#include <QSet>

namespace MurvelCommerceUpdates {

using MurvelCommerceUpdatesCore::UpdateSite;

QString MakerSite::current() {
    const UpdateSite::Choice choice = UpdateSite::current();
    if (choice.refusedOverride) {
        static QSet<QString> reported;
        const QString refused = QString::fromStdString(*choice.refusedOverride);
        if (!reported.contains(refused)) {
            reported.insert(refused);
            qCWarning(lcUpdates).noquote()
                << QStringLiteral("%1 ignored: not https:// and a host with an optional port: \"%2\"")
                       .arg(QString::fromUtf8(UpdateSite::environmentVariable), refused);
        }
    }
    return QString::fromStdString(choice.site);
}

QUrl MakerSite::manifestAddress() {
    return QUrl(QString::fromStdString(UpdateSite::manifestAddress(current().toStdString())),
                QUrl::StrictMode);
}

QUrl MakerSite::downloadLink(const QString& app) {
    return QUrl(QString::fromStdString(UpdateSite::downloadLink(current().toStdString(), app.toStdString())),
                QUrl::StrictMode);
}

} // namespace MurvelCommerceUpdates
