#include "Platform/UserDefaults.hpp"
#include "Platform/PlatformLogging.hpp"

#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QStringDecoder>

namespace Platform {

namespace {

// QSettings reads NUL bytes and bytes that are not UTF-8 without a complaint, as nothing or as
// replacement characters, and the next write would replace them for good.
bool holdsNonText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8(bytes); // decodes, setting hasError()
    return bytes.contains('\0') || utf8.hasError();
}

// `path`, after copying the file aside when it does not parse.
const QString& keptIfCorrupt(const QString& path) {
    const QSettings probe(path, QSettings::IniFormat);
    if (probe.status() == QSettings::FormatError || holdsNonText(path)) {
        const QString copy = path + ".corrupt-" + QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss");
        if (QFile::copy(path, copy))
            qCWarning(lcDefaults) << "settings file does not parse, kept a copy:" << copy;
        else
            qCWarning(lcDefaults) << "settings file does not parse and could not be copied:" << path;
    }
    return path;
}

} // namespace

std::shared_ptr<UserDefaults> UserDefaults::standard() {
    static std::weak_ptr<UserDefaults> shared;
    std::shared_ptr<UserDefaults> defaults = shared.lock();
    if (!defaults) {
        defaults = std::make_shared<UserDefaults>(standardPath());
        shared = defaults;
    }
    return defaults;
}

QString UserDefaults::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/dialcove/dialcove.ini";
}

UserDefaults::UserDefaults(const QString& path) : settings_(keptIfCorrupt(path), QSettings::IniFormat) {}

QString UserDefaults::path() const { return settings_.fileName(); }

bool UserDefaults::contains(const QString& key) const { return settings_.contains(key); }

bool UserDefaults::boolValue(const QString& key) const {
    const QVariant value = settings_.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() != QMetaType::QString)
        return false;
    const QString text = value.toString().trimmed();
    if (text.compare("true", Qt::CaseInsensitive) == 0 || text.compare("yes", Qt::CaseInsensitive) == 0)
        return true;
    bool isNumber = false;
    const qlonglong number = text.toLongLong(&isNumber);
    return isNumber && number != 0;
}

std::optional<QByteArray> UserDefaults::data(const QString& key) const {
    const QVariant value = settings_.value(key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QString> UserDefaults::string(const QString& key) const {
    const QVariant value = settings_.value(key);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toString();
    case QMetaType::QStringList:
        // Only while this process still holds the value it wrote; the file gives a plain string back.
        if (value.toStringList().size() == 1)
            return value.toStringList().front();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<QStringList> UserDefaults::stringArray(const QString& key) const {
    if (!settings_.contains(key))
        return std::nullopt;
    const QVariant value = settings_.value(key);
    if (!value.isValid())
        return QStringList(); // "@Invalid()": how the file holds an empty list
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QString)
        return QStringList{value.toString()};
    return std::nullopt;
}

std::optional<QVariant> UserDefaults::object(const QString& key) const {
    if (!settings_.contains(key))
        return std::nullopt;
    const QVariant value = settings_.value(key);
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
        return value;
    // Bools and numbers read as text, here as after the next launch.
    if (std::optional<QString> text = string(key))
        return QVariant(*text);
    return value;
}

void UserDefaults::setBool(const QString& key, bool value) { write(key, value); }
void UserDefaults::setData(const QString& key, const QByteArray& value) { write(key, value); }
void UserDefaults::setString(const QString& key, const QString& value) { write(key, value); }
void UserDefaults::setStringArray(const QString& key, const QStringList& value) { write(key, value); }
void UserDefaults::setObject(const QString& key, const QVariant& value) { write(key, value); }

void UserDefaults::remove(const QString& key) {
    settings_.remove(key);
    sync();
}

void UserDefaults::sync() {
    settings_.sync();
    if (settings_.status() == QSettings::AccessError)
        qCWarning(lcDefaults) << "settings file could not be written:" << settings_.fileName();
}

void UserDefaults::write(const QString& key, const QVariant& value) {
    settings_.setValue(key, value);
    sync();
}

} // namespace Platform
