#include "Platform/Contacts/AddressBookSettings.hpp"

#include "Platform/Contacts/AddressBookLogging.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <mutex>
#include <optional>

namespace Platform {

namespace {

constexpr const char* kFolderKey = "folder";
constexpr const char* kConsentKey = "consent";

// QSettings writes late and says nothing unless asked: a choice the file did not take must not
// look stored.
bool written(QSettings& settings) {
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcAddressBook) << "cannot write the address book settings:" << settings.fileName();
    return false;
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

// The answer the file did not take, shared by every copy of one settings object.
struct AddressBookSettings::Held {
    mutable std::mutex mutex;
    std::optional<Consent> consent;

    std::optional<Consent> get() const {
        const std::lock_guard lock(mutex);
        return consent;
    }
    void set(std::optional<Consent> value) {
        const std::lock_guard lock(mutex);
        consent = value;
    }
};

AddressBookSettings::AddressBookSettings(QString file)
    : file_(std::move(file)), held_(std::make_shared<Held>()) {}

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

bool AddressBookSettings::setFolder(const QString& folder) {
    if (isFolderForced())
        return true;
    QSettings settings(file_, QSettings::IniFormat);
    if (folder.isEmpty())
        settings.remove(kFolderKey);
    else
        settings.setValue(kFolderKey, cleanAbsolute(folder));
    return written(settings);
}

AddressBookSettings::Consent AddressBookSettings::consent() const {
    if (const std::optional<Consent> held = held_->get())
        return *held;
    const QString value = QSettings(file_, QSettings::IniFormat).value(kConsentKey).toString();
    if (value == QLatin1String("given"))
        return Consent::given;
    if (value == QLatin1String("declined"))
        return Consent::declined;
    return Consent::none;
}

bool AddressBookSettings::setConsent(Consent consent) {
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
    const bool saved = written(settings);
    held_->set(saved ? std::nullopt : std::optional(consent));
    return saved;
}

bool AddressBookSettings::isConsentHeldForRun() const {
    return held_->get().has_value();
}

QString AddressBookSettings::notSavedText() const {
    return QCoreApplication::translate("Platform::AddressBookSettings",
                                       "Your choice could not be saved: %1 cannot be written.")
        .arg(file_);
}

QString AddressBookSettings::heldForRunText() const {
    return QCoreApplication::translate("Platform::AddressBookSettings",
                                       "Your answer holds until Dialcove quits, but it could not be saved: "
                                       "%1 cannot be written. Dialcove asks again at its next start.")
        .arg(file_);
}

} // namespace Platform
