#include "Platform/Contacts/AddressBookSettings.hpp"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace Platform {

namespace {

constexpr const char* kFolderKey = "folder";
constexpr const char* kConsentKey = "consent";

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

AddressBookSettings::AddressBookSettings(QString file) : file_(std::move(file)) {}

QString AddressBookSettings::defaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/dialcove/addressbook.conf";
}

QString AddressBookSettings::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/contacts";
}

bool AddressBookSettings::isFolderForced() const {
    return !qEnvironmentVariable(kFolderVariable).isEmpty();
}

QString AddressBookSettings::folder() const {
    const QString forced = qEnvironmentVariable(kFolderVariable);
    if (!forced.isEmpty())
        return cleanAbsolute(forced);
    const QString chosen = QSettings(file_, QSettings::IniFormat).value(kFolderKey).toString();
    return cleanAbsolute(chosen.isEmpty() ? defaultFolder() : chosen);
}

void AddressBookSettings::setFolder(const QString& folder) {
    if (isFolderForced())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    if (folder.isEmpty())
        settings.remove(kFolderKey);
    else
        settings.setValue(kFolderKey, cleanAbsolute(folder));
}

AddressBookSettings::Consent AddressBookSettings::consent() const {
    const QString value = QSettings(file_, QSettings::IniFormat).value(kConsentKey).toString();
    if (value == QLatin1String("given"))
        return Consent::given;
    if (value == QLatin1String("declined"))
        return Consent::declined;
    return Consent::none;
}

void AddressBookSettings::setConsent(Consent consent) {
    QSettings settings(file_, QSettings::IniFormat);
    switch (consent) {
    case Consent::none:
        settings.remove(kConsentKey);
        break;
    case Consent::declined:
        settings.setValue(kConsentKey, QStringLiteral("declined"));
        break;
    case Consent::given:
        settings.setValue(kConsentKey, QStringLiteral("given"));
        break;
    }
}

} // namespace Platform
