#include "Platform/DesktopEntryFile.hpp"

#include <QFile>

namespace Platform {

namespace {

const QString desktopEntryGroup = QStringLiteral("Desktop Entry");

QString unescapeValue(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default: // unknown escapes stay as written
            out += c;
            out += next;
        }
    }
    return out;
}

} // namespace

std::optional<QHash<QString, QString>> DesktopEntryFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inGroup = false;
    const QString content = QString::fromUtf8(file.readAll());
    for (QString line : content.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inGroup = line.mid(1, line.size() - 2) == desktopEntryGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (key.contains(QLatin1Char('[')) || keys.contains(key))
            continue;
        keys.insert(key, unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

QString DesktopEntryFile::escape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    if (out.startsWith(QLatin1Char(' ')))
        out.replace(0, 1, QLatin1String("\\s"));
    return out;
}

} // namespace Platform
