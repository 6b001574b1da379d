#include "Platform/SyncFolderFileNames.hpp"

namespace Platform {

namespace {

bool isPlain(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case hex is not ours: each key has exactly one name
}

} // namespace

QString syncFileName(const QString& key) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QString name;
    for (const char c : key.toUtf8()) {
        if (isPlain(c)) {
            name += QChar::fromLatin1(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            name += QChar::fromLatin1('%');
            name += QChar::fromLatin1(hex[byte >> 4]);
            name += QChar::fromLatin1(hex[byte & 0xF]);
        }
    }
    return name + syncRecordSuffix;
}

std::optional<QString> syncKey(const QString& fileName) {
    if (!fileName.endsWith(syncRecordSuffix))
        return std::nullopt;
    const QByteArray stem = fileName.chopped(QLatin1String(syncRecordSuffix).size()).toUtf8();
    if (stem.isEmpty())
        return std::nullopt;
    QByteArray key;
    for (qsizetype i = 0; i < stem.size(); ++i) {
        const char c = stem[i];
        if (isPlain(c)) {
            key += c;
            continue;
        }
        if (c != '%' || i + 2 >= stem.size())
            return std::nullopt;
        const int high = hexValue(stem[i + 1]);
        const int low = hexValue(stem[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        const char byte = static_cast<char>(high << 4 | low);
        if (isPlain(byte))
            return std::nullopt; // an escape where the plain character belongs
        key += byte;
        i += 2;
    }
    const QString decoded = QString::fromUtf8(key);
    if (decoded.toUtf8() != key)
        return std::nullopt; // not UTF-8
    return decoded;
}

} // namespace Platform
