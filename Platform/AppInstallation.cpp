#include "Platform/AppInstallation.hpp"

#include "Platform/DesktopIdentity.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Platform {

AppInstallation::AppInstallation(QString dataFolder, QString appId)
    : dataFolder_(std::move(dataFolder)), appId_(std::move(appId)) {}

std::optional<AppInstallation> AppInstallation::of(const QString& program, const QString& appId) {
    if (program.isEmpty() || appId.isEmpty())
        return std::nullopt;
    // The install rules put the data folder at this place from the program's folder.
    const QString data = QDir::cleanPath(QFileInfo(program).absolutePath() + QLatin1Char('/') +
                                         QStringLiteral(PLATFORM_DATA_FROM_PROGRAM));
    AppInstallation installation(data, appId);
    if (!QFileInfo(installation.menuEntry()).isFile())
        return std::nullopt;
    return installation;
}

const std::optional<AppInstallation>& AppInstallation::ofRunningProgram() {
    static const std::optional<AppInstallation> running =
        of(QCoreApplication::applicationFilePath(), DesktopIdentity::appId());
    return running;
}

QString AppInstallation::menuEntry() const {
    return dataFolder_ + QLatin1String("/applications/") + appId_ + QLatin1String(".desktop");
}

bool AppInstallation::hasThemeIcon(const QString& context, const QString& name) const {
    return QFileInfo(dataFolder_ + QLatin1String("/icons/hicolor/scalable/") + context + QLatin1Char('/') +
                     name + QLatin1String(".svg"))
        .isFile();
}

} // namespace Platform
