#include "Platform/UserDefaults.hpp"

#include "Platform/IniFileText.hpp"
#include "Platform/PlatformLogging.hpp"

#include <QDataStream>
#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <iterator>

namespace Platform {

namespace {

// QSettings reads NUL bytes and bytes that are not UTF-8 without a complaint, as nothing or as
// replacement characters, and the next write would replace them for good.
bool holdsNonText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8(bytes); // decodes, setting hasError()
    return bytes.contains('\0') || utf8.hasError();
}

bool fitsInBytes(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// Whether the stream in "@Variant(...)" or "@DateTime(...)" gives back a value whole. Only kinds of
// a fixed size are streamed: numbers, bools, dates and times, as this file stores no other. Any
// other kind is refused unread, as its stream says how much memory to take (a list of four billion
// items, say), and so is a date in a named time zone, which carries the zone's name.
bool streamsBack(const QString& text, qsizetype open, QDataStream::Version version) {
    if (!fitsInBytes(text))
        return false;
    QByteArray bytes = text.sliced(open + 1).chopped(1).toLatin1();
    if (bytes.size() < 4)
        return false;
    const int type = int(qFromBigEndian<quint32>(bytes.constData()));
    constexpr int fixedSize[] = {QMetaType::Bool,     QMetaType::Int,       QMetaType::UInt,
                                 QMetaType::LongLong, QMetaType::ULongLong, QMetaType::Double,
                                 QMetaType::QDate,    QMetaType::QTime,     QMetaType::QDateTime};
    if (std::find(std::begin(fixedSize), std::end(fixedSize), type) == std::end(fixedSize))
        return false;
    // type, null flag, day, time of day, then the time spec: local, UTC or an offset
    constexpr qsizetype specAt = 4 + 1 + 8 + 4;
    if (type == QMetaType::QDateTime && version >= QDataStream::Qt_5_2 && bytes.size() > specAt &&
        bytes[specAt] != char(Qt::LocalTime) && bytes[specAt] != char(Qt::UTC) &&
        bytes[specAt] != char(Qt::OffsetFromUTC))
        return false;
    QDataStream stream(bytes);
    stream.setVersion(version);
    QVariant value;
    stream >> value;
    if (stream.status() != QDataStream::Ok || !stream.atEnd() || !value.isValid())
        return false;
    // A date or time that is none would be written back as another (an invalid date in a zone).
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() && value.toDateTime().timeSpec() != Qt::TimeZone;
    case QMetaType::QDate:
        return value.toDate().isValid();
    case QMetaType::QTime:
        return value.toTime().isValid();
    default:
        return true;
    }
}

bool argumentsAreNumbers(const QString& text, qsizetype open, qsizetype count) {
    const QStringList arguments = text.sliced(open + 1).chopped(1).split(' ');
    if (arguments.size() != count)
        return true; // QSettings keeps such a text as it is
    return std::all_of(arguments.begin(), arguments.end(), [](const QString& argument) {
        bool isNumber = false;
        argument.toInt(&isNumber);
        return isNumber;
    });
}

// Whether QSettings makes of this text, unescaped as it stands in the file, the value it names.
bool decodesFaithfully(const QString& text) {
    // An escape can spell half of a surrogate pair, which the file cannot hold as UTF-8.
    if (!text.isValidUtf16())
        return false;
    if (!text.startsWith('@') || text.startsWith("@@") || !text.endsWith(')'))
        return true; // text, kept as it is
    if (text.startsWith("@ByteArray("))
        return fitsInBytes(text);
    if (text.startsWith("@Variant("))
        return streamsBack(text, 8, QDataStream::Qt_4_0);
    if (text.startsWith("@DateTime("))
        return streamsBack(text, 9, QDataStream::Qt_5_6);
    if (text.startsWith("@Rect("))
        return argumentsAreNumbers(text, 5, 4);
    if (text.startsWith("@Size("))
        return argumentsAreNumbers(text, 5, 2);
    if (text.startsWith("@Point("))
        return argumentsAreNumbers(text, 6, 2);
    return true; // "@Invalid()", "@String(...)" and any other such text come out as they went in
}

// The value as this file keeps it. A list with an item that begins with "@" comes back as a list of
// variants even when every item is text; QSettings writes it back as a list of strings.
QVariant readAs(const QSettings& settings, const QString& key) {
    QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QVariantList) {
        const QVariantList items = value.toList();
        if (std::all_of(items.begin(), items.end(),
                        [](const QVariant& item) { return item.typeId() == QMetaType::QString; }))
            return value.toStringList();
    }
    return value;
}

// `path`, after copying the file aside when it would not come through the next write whole, and
// taking out of it the values QSettings cannot decode: QSettings decodes every value as it parses
// the file, and would turn those into others, or take the memory their text asks for.
const QString& keptIfCorrupt(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path;
    const QByteArray bytes = file.readAll();
    file.close();

    QStringList damage;
    if (holdsNonText(bytes))
        damage << QStringLiteral("bytes that are not UTF-8 text");
    const IniFileText text(bytes);
    if (text.hasOpenQuote())
        damage << QStringLiteral("an unterminated quote");
    QByteArray readable = bytes;
    const std::vector<IniFileText::KeyLine>& lines = text.keyLines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (!std::all_of(line->items.begin(), line->items.end(), decodesFaithfully)) {
            damage << QStringLiteral("a value that does not decode under ") + QString::fromUtf8(line->key);
            readable.remove(line->begin, line->end - line->begin);
        }
    }

    QString copy;
    const auto keepCopy = [&] {
        copy = path + ".corrupt-" + QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss");
        if (!QFile::copy(path, copy)) {
            qCWarning(lcDefaults).noquote() << "settings file could not be copied aside:" << path;
            copy.clear();
        }
    };
    if (readable != bytes) {
        keepCopy();
        QSaveFile repaired(path);
        if (copy.isEmpty() || !repaired.open(QIODevice::WriteOnly) ||
            repaired.write(readable) != readable.size() || !repaired.commit())
            qCWarning(lcDefaults).noquote() << "settings file keeps values that do not decode:" << path;
    }
    // QSettings parses at its first read, so its status says nothing before one.
    QSettings parsed(path, QSettings::IniFormat);
    parsed.allKeys();
    if (parsed.status() == QSettings::FormatError || text.hasLinesThatDoNotParse())
        damage.prepend(QStringLiteral("lines that do not parse"));
    if (damage.isEmpty())
        return path;
    if (copy.isEmpty())
        keepCopy();
    if (!copy.isEmpty())
        qCWarning(lcDefaults).noquote()
            << "settings file holds" << damage.join(", ") << "- kept a copy:" << copy;
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

QString UserDefaults::path() const {
    return settings_.fileName();
}

bool UserDefaults::contains(const QString& key) const {
    return settings_.contains(key);
}

bool UserDefaults::boolValue(const QString& key) const {
    const QVariant value = readAs(settings_, key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    // Anything else as the text it reads as once the file is written back, numbers included.
    const std::optional<QString> stored = string(key);
    if (!stored)
        return false;
    const QString text = stored->trimmed();
    if (text.compare("true", Qt::CaseInsensitive) == 0 || text.compare("yes", Qt::CaseInsensitive) == 0)
        return true;
    bool isNumber = false;
    const qlonglong number = text.toLongLong(&isNumber);
    return isNumber && number != 0;
}

std::optional<QByteArray> UserDefaults::data(const QString& key) const {
    const QVariant value = readAs(settings_, key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QString> UserDefaults::string(const QString& key) const {
    const QVariant value = readAs(settings_, key);
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
    const QVariant value = readAs(settings_, key);
    if (!value.isValid())
        return QStringList(); // "@Invalid()": how the file holds an empty list
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    // Text, and what reads as text once the file is written back: numbers and bools.
    if (std::optional<QString> text = string(key))
        return QStringList{*text};
    return std::nullopt;
}

std::optional<QVariant> UserDefaults::object(const QString& key) const {
    if (!settings_.contains(key))
        return std::nullopt;
    const QVariant value = readAs(settings_, key);
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
        return value;
    // Bools and numbers read as text, here as after the next launch.
    if (std::optional<QString> text = string(key))
        return QVariant(*text);
    return value;
}

void UserDefaults::setBool(const QString& key, bool value) {
    write(key, value);
}
void UserDefaults::setData(const QString& key, const QByteArray& value) {
    write(key, value);
}
void UserDefaults::setString(const QString& key, const QString& value) {
    write(key, value);
}
void UserDefaults::setStringArray(const QString& key, const QStringList& value) {
    write(key, value);
}
void UserDefaults::setObject(const QString& key, const QVariant& value) {
    write(key, value);
}

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
