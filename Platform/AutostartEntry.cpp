#include "Platform/AutostartEntry.hpp"

#include "Platform/AppInstallation.hpp"
#include "Platform/DesktopEntryFile.hpp"
#include "Platform/DesktopIdentity.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace Platform {

namespace {

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

AutostartEntry::AutostartEntry(QString appId, QString name, QString executable, Looks looks, bool byName)
    : appId_(std::move(appId)), name_(std::move(name)), executable_(std::move(executable)),
      looks_(std::move(looks)), byName_(byName) {}

AutostartEntry AutostartEntry::forRunningApplication() {
    return forProgram(QCoreApplication::applicationFilePath());
}

AutostartEntry AutostartEntry::forProgram(const QString& program) {
    const QString appId = DesktopIdentity::appId();
    QString name = DesktopIdentity::name();
    Looks looks{DesktopIdentity::summary(), appId};
    const std::optional<AppInstallation> installation = AppInstallation::of(program, appId);
    if (installation) {
        // The entry looks as the installed menu entry does, where that says.
        const auto menu = DesktopEntryFile::read(installation->menuEntry());
        const auto take = [&menu](const char* key, QString& into) {
            const QString value = menu ? menu->value(QString::fromLatin1(key)).trimmed() : QString();
            if (!value.isEmpty())
                into = value;
        };
        take("Name", name);
        take("Comment", looks.comment);
        take("Icon", looks.icon);
    }
    return AutostartEntry(appId, name, program, looks, installation.has_value());
}

QString AutostartEntry::filePath() const {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QLatin1String("/autostart/") + appId_ + QLatin1String(".desktop");
}

bool AutostartEntry::isEnabled() const {
    const auto keys = DesktopEntryFile::read(filePath());
    if (!keys || isTrue(keys->value(QStringLiteral("Hidden"))) ||
        isFalse(keys->value(QStringLiteral("X-GNOME-Autostart-enabled"))))
        return false;
    QString program = programOfExec(keys->value(QStringLiteral("Exec")));
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

    QString content = QLatin1String("[Desktop Entry]\nType=Application\nName=") +
                      DesktopEntryFile::escape(name_) + QLatin1Char('\n');
    if (!looks_.comment.isEmpty())
        content += QLatin1String("Comment=") + DesktopEntryFile::escape(looks_.comment) + QLatin1Char('\n');
    content += QLatin1String("Exec=") + DesktopEntryFile::escape(execProgram()) + QLatin1Char('\n');
    if (!looks_.icon.isEmpty())
        content += QLatin1String("Icon=") + DesktopEntryFile::escape(looks_.icon) + QLatin1Char('\n');
    content += QLatin1String("Terminal=false\nX-GNOME-Autostart-enabled=true\n");
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

std::optional<QString> AutostartEntry::renewEarlierEntry() const {
    if (looks_.comment.isEmpty() && looks_.icon.isEmpty())
        return std::nullopt;
    const auto keys = DesktopEntryFile::read(filePath());
    if (!keys || !isEnabled())
        return std::nullopt;
    // Exactly the keys the earlier versions wrote; any other is someone's own, and kept.
    static const QStringList earlierKeys{QStringLiteral("Type"), QStringLiteral("Name"),
                                         QStringLiteral("Exec"), QStringLiteral("Terminal"),
                                         QStringLiteral("X-GNOME-Autostart-enabled")};
    for (auto key = keys->keyBegin(); key != keys->keyEnd(); ++key)
        if (!earlierKeys.contains(*key))
            return std::nullopt;
    return enable();
}

QString AutostartEntry::execProgram() const {
    if (byName_) {
        const QString file = QFileInfo(executable_).fileName();
        const QString found = QStandardPaths::findExecutable(file);
        if (!found.isEmpty() && samePath(found, executable_))
            return file;
    }
    return execValue(executable_);
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
