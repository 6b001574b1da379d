#include "Platform/SchemeHandlerLookup.hpp"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <vector>

namespace Platform {

namespace {

using Group = QHash<QString, QString>;

const QString desktopEntryGroup = QStringLiteral("Desktop Entry");
const QString defaultGroup = QStringLiteral("Default Applications");
const QString addedGroup = QStringLiteral("Added Associations");
const QString removedGroup = QStringLiteral("Removed Associations");

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The named groups of a freedesktop.org key file, each key to its raw value.
QHash<QString, Group> parseKeyFile(const QByteArray& bytes, const QSet<QString>& groups) {
    QHash<QString, Group> result;
    Group* group = nullptr;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2);
            group = groups.contains(name) ? &result[name] : nullptr;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (group && equals > 0) {
            const QString key = line.first(equals).trimmed();
            if (!group->contains(key)) // the first of a repeated key counts
                group->insert(key, line.mid(equals + 1).trimmed());
        }
    }
    return result;
}

QStringList listValue(const QString& value) {
    QStringList items;
    for (const QString& item : value.split(u';'))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    return items;
}

bool isTrue(const QString& value) {
    return value == u"true";
}

bool isUsable(const Group& entry) {
    if (entry.value(QStringLiteral("Type")) != u"Application" ||
        isTrue(entry.value(QStringLiteral("Hidden"))))
        return false;
    if (entry.value(QStringLiteral("Exec")).isEmpty() &&
        !isTrue(entry.value(QStringLiteral("DBusActivatable"))))
        return false;
    const QString tryExec = entry.value(QStringLiteral("TryExec"));
    if (tryExec.isEmpty())
        return true;
    if (QDir::isAbsolutePath(tryExec))
        return QFileInfo(tryExec).isExecutable();
    return !QStandardPaths::findExecutable(tryExec).isEmpty();
}

Group desktopEntry(const QString& path) {
    return parseKeyFile(contentsOf(path), {desktopEntryGroup}).value(desktopEntryGroup);
}

// "vendor-app.desktop" may live at vendor-app.desktop or vendor/app.desktop, and so on.
std::optional<QString> findInFolder(const QString& folder, const QString& id) {
    const QString direct = folder + u'/' + id;
    if (QFileInfo(direct).isFile())
        return direct;
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1)) {
        const QString subfolder = folder + u'/' + id.first(dash);
        if (QFileInfo(subfolder).isDir())
            if (std::optional<QString> found = findInFolder(subfolder, id.mid(dash + 1)))
                return found;
    }
    return std::nullopt;
}

class Lookup {
public:
    explicit Lookup(QString mimeType) : mimeType_(std::move(mimeType)) {
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
            levels_.push_back({listsIn(dir), {}});
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString applications = dir + QStringLiteral("/applications");
            levels_.push_back({listsIn(applications), applications});
            applicationFolders_ << applications;
        }
    }

    std::optional<QString> run() const {
        for (const Level& level : levels_)
            for (const List& list : level.lists)
                for (const QString& id : list.defaults)
                    if (isInstalled(id))
                        return id;

        // A removal hides what its own file and less important ones add or declare.
        QSet<QString> removed;
        QSet<QString> seenIds;
        for (const Level& level : levels_) {
            for (const List& list : level.lists) {
                for (const QString& id : list.removed)
                    removed.insert(id);
                for (const QString& id : list.added)
                    if (!removed.contains(id) && isInstalled(id))
                        return id;
            }
            if (level.applications.isEmpty())
                continue;
            QDirIterator files(level.applications, {QStringLiteral("*.desktop")}, QDir::Files,
                               QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
            while (files.hasNext()) {
                const QString path = files.next();
                const QString id = QDir(level.applications).relativeFilePath(path).replace(u'/', u'-');
                // An ID met in a more important folder hides this file, usable or not.
                if (seenIds.contains(id))
                    continue;
                seenIds.insert(id);
                if (!removed.contains(id) && declaresType(path))
                    return id;
            }
        }
        return std::nullopt;
    }

private:
    struct List {
        QStringList defaults, added, removed;
    };
    struct Level {
        std::vector<List> lists; // most important first
        QString applications;    // the folder of desktop files at this level, if any
    };

    std::vector<List> listsIn(const QString& dir) const {
        QStringList paths;
        for (const QString& desktop :
             qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
            paths << dir + u'/' + desktop.toLower() + QStringLiteral("-mimeapps.list");
        paths << dir + QStringLiteral("/mimeapps.list");
        std::vector<List> lists;
        for (const QString& path : paths) {
            const auto groups = parseKeyFile(contentsOf(path), {defaultGroup, addedGroup, removedGroup});
            lists.push_back({listValue(groups.value(defaultGroup).value(mimeType_)),
                             listValue(groups.value(addedGroup).value(mimeType_)),
                             listValue(groups.value(removedGroup).value(mimeType_))});
        }
        return lists;
    }

    bool isInstalled(const QString& id) const {
        if (!id.endsWith(QStringLiteral(".desktop")) || id.contains(u'/'))
            return false;
        for (const QString& folder : applicationFolders_)
            if (std::optional<QString> path = findInFolder(folder, id))
                return isUsable(desktopEntry(*path)); // the first file of an ID hides the later ones
        return false;
    }

    bool declaresType(const QString& path) const {
        const QByteArray bytes = contentsOf(path);
        if (!bytes.contains(mimeType_.toUtf8())) // most files do not mention it at all
            return false;
        const Group entry = parseKeyFile(bytes, {desktopEntryGroup}).value(desktopEntryGroup);
        return listValue(entry.value(QStringLiteral("MimeType"))).contains(mimeType_) && isUsable(entry);
    }

    QString mimeType_;
    std::vector<Level> levels_;
    QStringList applicationFolders_;
};

bool isScheme(QStringView text) {
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (text.isEmpty() || !isLetter(text.front()))
        return false;
    for (const QChar c : text)
        if (!isLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    return true;
}

} // namespace

std::optional<QString> SchemeHandlerLookup::applicationFor(QStringView scheme) {
    if (!isScheme(scheme))
        return std::nullopt;
    return Lookup(QStringLiteral("x-scheme-handler/") + scheme.toString().toLower()).run();
}

} // namespace Platform
