#include "Platform/AutostartEntry.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

namespace Platform {

namespace {

const QString desktopEntryGroup = QStringLiteral("Desktop Entry");

// Desktop-file string escapes: `\s`, `\n`, `\t`, `\r` and `\\`.
QString escapeValue(const QString& text) {
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

// The keys of the [Desktop Entry] group, values unescaped; localised keys are left out.
QHash<QString, QString> readDesktopEntry(const QString& path, bool* ok) {
    QHash<QString, QString> keys;
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (!*ok)
        return keys;
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

bool isFalse(const QString& value) {
    return value.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}
bool isTrue(const QString& value) {
    return value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

bool samePath(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

AutostartEntry::AutostartEntry(QString appId, QString name, QString executable)
    : appId_(std::move(appId)), name_(std::move(name)), executable_(std::move(executable)) {}

AutostartEntry AutostartEntry::forRunningApplication() {
    QString name = QGuiApplication::applicationDisplayName();
    if (name.isEmpty())
        name = QStringLiteral("Dialcove");
    return AutostartEntry(QStringLiteral("works.murvel.dialcove"), name,
                          QCoreApplication::applicationFilePath());
}

QString AutostartEntry::filePath() const {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QLatin1String("/autostart/") + appId_ + QLatin1String(".desktop");
}

bool AutostartEntry::isEnabled() const {
    bool ok = false;
    const QHash<QString, QString> keys = readDesktopEntry(filePath(), &ok);
    if (!ok || isTrue(keys.value(QStringLiteral("Hidden"))) ||
        isFalse(keys.value(QStringLiteral("X-GNOME-Autostart-enabled"))))
        return false;
    QString program = programOfExec(keys.value(QStringLiteral("Exec")));
    // A program named without a path is looked up on PATH, as the session starting it does.
    if (!program.isEmpty() && !program.contains(QLatin1Char('/')))
        program = QStandardPaths::findExecutable(program);
    return !program.isEmpty() && samePath(program, executable_);
}

std::optional<QString> AutostartEntry::enable() const {
    if (executable_.isEmpty())
        return QStringLiteral("the running program has no path");
    const QString path = filePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);

    const QString content = QLatin1String("[Desktop Entry]\n"
                                          "Type=Application\n"
                                          "Name=") +
                            escapeValue(name_) + QLatin1String("\nExec=") +
                            escapeValue(execValue(executable_)) +
                            QLatin1String("\nTerminal=false\n"
                                          "X-GNOME-Autostart-enabled=true\n");
    // QSaveFile would write through a link, over the file it points at (often the application's
    // own menu entry): the entry replaces the link instead.
    if (QFileInfo(path).isSymLink()) {
        QFile link(path);
        if (!link.remove())
            return QStringLiteral("cannot replace the link %1: %2").arg(path, link.errorString());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    file.write(content.toUtf8());
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return std::nullopt;
}

std::optional<QString> AutostartEntry::disable() const {
    const QString path = filePath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    QFile file(path);
    if (!file.remove())
        return QStringLiteral("cannot remove %1: %2").arg(path, file.errorString());
    return std::nullopt;
}

QString AutostartEntry::execValue(const QString& program) {
    // Quoted, so that spaces and reserved characters stay one argument; `%` is a field code.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c == QLatin1Char('%') ? QStringLiteral("%%") : QString(c);
    }
    return quoted + QLatin1Char('"');
}

QString AutostartEntry::programOfExec(const QString& value) {
    const QString text = value.trimmed();
    QString program;
    if (text.startsWith(QLatin1Char('"'))) {
        qsizetype i = 1;
        for (; i < text.size() && text.at(i) != QLatin1Char('"'); ++i) {
            if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size())
                ++i;
            program += text.at(i);
        }
        if (i == text.size())
            return {}; // no closing quote
    } else {
        program = text.section(QLatin1Char(' '), 0, 0);
    }
    return program.replace(QLatin1String("%%"), QLatin1String("%"));
}

} // namespace Platform
