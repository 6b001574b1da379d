#include "MurvelUI/Cards/LoginItem.hpp"
#include "Platform/AutostartEntry.hpp"
#include "Platform/DesktopEntryFile.hpp"
#include "Platform/DesktopIdentity.hpp"
#include "tests/support/LogCapture.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MurvelUI;
using Platform::AutostartEntry;
using TestSupport::LogCapture;

namespace {

// Points XDG_CONFIG_HOME at a fresh folder for one test.
class ConfigHome {
public:
    ConfigHome() : saved_(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8()); }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", saved_); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }

    void write(const QString& relative, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

const QString entryFile = QStringLiteral("autostart/works.murvel.dialcove.desktop");
const QString program = QStringLiteral("/opt/dialcove/bin/dialcove");

AutostartEntry testEntry() {
    return AutostartEntry(QStringLiteral("works.murvel.dialcove"), QStringLiteral("Dialcove"), program);
}

TEST(LoginItem, EnableWritesAnEntryThatStartsTheProgram) {
    ConfigHome home;
    LoginItem item(testEntry());
    EXPECT_FALSE(item.enabled());
    QSignalSpy changes(&item, &LoginItem::enabledChanged);

    item.setEnabled(true);
    EXPECT_TRUE(item.enabled());
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toBool(), true);
    EXPECT_EQ(item.entry().filePath(), home.path(entryFile));
    QFile file(home.path(entryFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(content.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(content.contains(QStringLiteral("\nName=Dialcove\n")));
    EXPECT_TRUE(content.contains(QStringLiteral("\nExec=\"/opt/dialcove/bin/dialcove\"\n")));

    item.setEnabled(true);
    EXPECT_EQ(changes.count(), 1) << "no change, no notice";
}

TEST(LoginItem, DisableRemovesTheEntryAndIsQuietWhenThereIsNone) {
    ConfigHome home;
    LoginItem item(testEntry());
    item.setEnabled(true);
    LogCapture log;
    item.setEnabled(false);
    EXPECT_FALSE(item.enabled());
    EXPECT_FALSE(QFile::exists(home.path(entryFile)));
    item.setEnabled(false);
    EXPECT_FALSE(item.enabled());
    EXPECT_TRUE(log.messages.isEmpty());
}

TEST(LoginItem, AFailureIsLoggedAndTheStatusReadBack) {
    ConfigHome home;
    home.write(QStringLiteral("autostart"), "not a folder"); // the entry cannot be written under a file
    LoginItem item(testEntry());
    QSignalSpy changes(&item, &LoginItem::enabledChanged);
    LogCapture log;

    item.setEnabled(true);
    EXPECT_FALSE(item.enabled());
    EXPECT_EQ(changes.count(), 0);
    ASSERT_EQ(log.messages.size(), 1);
    EXPECT_EQ(log.messages[0].category, QStringLiteral("works.murvel.dialcove.login"));
    EXPECT_EQ(log.messages[0].type, QtWarningMsg);
    EXPECT_TRUE(log.messages[0].text.startsWith(
        QStringLiteral("login item change failed: cannot create the folder ")))
        << log.messages[0].text.toStdString();

    // Turning off while not registered ends off, whatever unregistering says.
    item.setEnabled(false);
    EXPECT_FALSE(item.enabled());
}

TEST(LoginItem, ARefusedRemovalIsLoggedAndTheStatusReadBack) {
    ConfigHome home;
    LoginItem item(testEntry());
    item.setEnabled(true);
    // A folder where the file should be cannot be removed as a file (and is no entry).
    QFile::remove(home.path(entryFile));
    QDir().mkpath(home.path(entryFile + QStringLiteral("/inside")));
    home.write(entryFile + QStringLiteral("/inside/x"), "x");
    LogCapture log;
    item.setEnabled(false);
    ASSERT_EQ(log.messages.size(), 1);
    EXPECT_TRUE(log.messages[0].text.startsWith(QStringLiteral("login item change failed: cannot remove ")));
    EXPECT_FALSE(item.enabled());
}

TEST(LoginItem, StatusIsReadBackFromTheFile) {
    ConfigHome home;
    const QByteArray valid =
        "[Desktop Entry]\nType=Application\nName=Dialcove\nExec=/opt/dialcove/bin/dialcove\n";
    home.write(entryFile, valid);
    LoginItem item(testEntry());
    EXPECT_TRUE(item.enabled()) << "read when the item is made";
    QSignalSpy changes(&item, &LoginItem::enabledChanged);

    const struct {
        QByteArray content;
        bool enabled;
    } cases[] = {
        {valid + "Hidden=true\n", false},
        {valid + "X-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=/usr/bin/other-program\n", false},
        {"[Other Group]\nExec=/opt/dialcove/bin/dialcove\n", false},
        {"[Desktop Entry]\nExec=\"/opt/dialcove/bin/dialcove\" --hidden %U\n", true},
        {"[Desktop Entry]\nExec=\"/opt/dialcove/bin/dialcove\n", false}, // no closing quote
        {"# comment\n\n[Desktop Entry]\nExec[de]=/elsewhere\nExec = /opt/dialcove/bin/dialcove\n", true},
        {"", false},
    };
    int expectedChanges = 0;
    bool last = true;
    for (const auto& c : cases) {
        home.write(entryFile, c.content);
        item.refresh();
        EXPECT_EQ(item.enabled(), c.enabled) << c.content.toStdString();
        expectedChanges += c.enabled != last;
        last = c.enabled;
    }
    EXPECT_EQ(changes.count(), expectedChanges) << "notified only on changes";
}

TEST(AutostartEntry, ProgramPathsSurviveQuotingAndEscaping) {
    ConfigHome home;
    const QString paths[] = {
        QStringLiteral("/opt/Dial cove/bin/dialcove"),
        QStringLiteral("/tmp/100%/dialcove"),
        QStringLiteral("/tmp/a\"b/dialcove"),
        QStringLiteral("/tmp/back\\slash/dialcove"),
        QStringLiteral("/tmp/$HOME/`x`/dialcove"),
        QStringLiteral("/tmp/tab\there/dialcove"),
        QStringLiteral(" /leading space"),
    };
    for (const QString& path : paths) {
        EXPECT_EQ(AutostartEntry::programOfExec(AutostartEntry::execValue(path)), path) << path.toStdString();
        const AutostartEntry entry(QStringLiteral("works.murvel.dialcove"), QStringLiteral("Dialcove"), path);
        ASSERT_FALSE(entry.enable().has_value());
        EXPECT_TRUE(entry.isEnabled()) << path.toStdString();
        const AutostartEntry other(QStringLiteral("works.murvel.dialcove"), QStringLiteral("Dialcove"),
                                   QStringLiteral("/somewhere/else"));
        EXPECT_FALSE(other.isEnabled());
    }
    EXPECT_EQ(AutostartEntry::execValue(QStringLiteral("/a b/c%")), QStringLiteral("\"/a b/c%%\""));
    EXPECT_EQ(AutostartEntry::programOfExec(QStringLiteral("/usr/bin/dialcove --flag")),
              QStringLiteral("/usr/bin/dialcove"));
}

TEST(AutostartEntry, EnablingOverALinkReplacesTheLinkNotItsTarget) {
    // Linking an application's menu entry into autostart is a common way to start it at login.
    ConfigHome home;
    const QByteArray menuEntry = "[Desktop Entry]\nType=Application\nName=Dialcove\nExec=dialcove\n"
                                 "Icon=dialcove\nCategories=Office;\n";
    const QString menuFile = QStringLiteral("applications/works.murvel.dialcove.desktop");
    home.write(menuFile, menuEntry);
    ASSERT_TRUE(QDir().mkpath(home.path(QStringLiteral("autostart"))));
    ASSERT_TRUE(QFile::link(home.path(menuFile), home.path(entryFile)));

    const AutostartEntry entry = testEntry();
    ASSERT_FALSE(entry.enable().has_value());
    EXPECT_TRUE(entry.isEnabled());
    EXPECT_FALSE(QFileInfo(home.path(entryFile)).isSymLink());
    QFile menu(home.path(menuFile));
    ASSERT_TRUE(menu.open(QIODevice::ReadOnly));
    EXPECT_EQ(menu.readAll(), menuEntry);
}

TEST(AutostartEntry, AProgramNamedWithoutAPathIsLookedUpOnThePath) {
    // Tools that add startup applications copy the menu entry, whose Exec often names the
    // program alone.
    ConfigHome home;
    home.write(QStringLiteral("bin/dialcove"), "#!/bin/sh\n");
    home.write(QStringLiteral("bin/other"), "#!/bin/sh\n");
    for (const char* name : {"bin/dialcove", "bin/other"})
        ASSERT_TRUE(
            QFile::setPermissions(home.path(QString::fromLatin1(name)), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(home.path(QStringLiteral("bin"))) + ":/usr/bin:/bin");
    const AutostartEntry entry(QStringLiteral("works.murvel.dialcove"), QStringLiteral("Dialcove"),
                               home.path(QStringLiteral("bin/dialcove")));

    const struct {
        QByteArray content;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=dialcove %U\n", true},
        {"[Desktop Entry]\nType=Application\nExec=dialcove\n", true},
        {"[Desktop Entry]\nType=Application\nExec=other\n", false},
        {"[Desktop Entry]\nType=Application\nExec=not-installed-anywhere\n", false},
    };
    for (const auto& c : cases) {
        home.write(entryFile, c.content);
        EXPECT_EQ(entry.isEnabled(), c.enabled) << c.content.toStdString();
    }
    qputenv("PATH", savedPath);
}

// A copy as an install leaves it, inside a config home: <prefix>/bin/dialcove beside the menu entry
// <prefix>/share/applications/works.murvel.dialcove.desktop; and one run from a build folder. PATH
// holds `path` and the system's folders while it lives.
class Copies {
public:
    explicit Copies(const ConfigHome& home, const char* path = "prefix/bin")
        : home_(home), savedPath_(qgetenv("PATH")) {
        for (const char* program : {"prefix/bin/dialcove", "build-run/Dialcove/dialcove", "other/dialcove"}) {
            home.write(QString::fromLatin1(program), "#!/bin/sh\n");
            QFile::setPermissions(home.path(QString::fromLatin1(program)),
                                  QFile::ReadOwner | QFile::ExeOwner);
        }
        home.write(QStringLiteral("prefix/share/applications/works.murvel.dialcove.desktop"),
                   "[Desktop Entry]\nType=Application\nName=Dialcove\nComment=From the menu entry\n"
                   "Exec=/usr/bin/dialcove\nIcon=works.murvel.dialcove\n");
        qputenv("PATH", QFile::encodeName(home.path(QString::fromLatin1(path))) + ":/usr/bin:/bin");
    }
    ~Copies() { qputenv("PATH", savedPath_); }

    QString installed() const { return home_.path(QStringLiteral("prefix/bin/dialcove")); }
    QString buildFolder() const { return home_.path(QStringLiteral("build-run/Dialcove/dialcove")); }

    // The autostart entry's keys as written.
    QHash<QString, QString> entry() const {
        return Platform::DesktopEntryFile::read(home_.path(entryFile)).value_or(QHash<QString, QString>());
    }
    QStringList autostartFolder() const {
        return QDir(home_.path(QStringLiteral("autostart"))).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

private:
    const ConfigHome& home_;
    QByteArray savedPath_;
};

TEST(AutostartEntry, AnInstalledCopyIsNamedAsItsMenuEntryNamesItAndABuildFolderCopyByItsPath) {
    const struct {
        const char* path; // what PATH finds first, in the config home
        bool installed;   // the copy that turns Open at Login on
        const char* exec; // with %1 for the copy's path
        const char* comment;
    } cases[] = {
        {"prefix/bin", true, "dialcove", "From the menu entry"},
        // The name alone would start another copy, or none.
        {"other", true, "\"%1\"", "From the menu entry"},
        {"nowhere", true, "\"%1\"", "From the menu entry"},
        {"build-run/Dialcove", false, "\"%1\"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ConfigHome home;
        const Copies copies(home, c.path);
        const QString program = c.installed ? copies.installed() : copies.buildFolder();
        const AutostartEntry entry = AutostartEntry::forProgram(program);
        EXPECT_EQ(entry.namesProgramByName(), c.installed);
        ASSERT_FALSE(entry.enable().has_value());
        EXPECT_TRUE(entry.isEnabled());

        const QHash<QString, QString> keys = copies.entry();
        EXPECT_EQ(keys.value("Exec"), QString::fromLatin1(c.exec).arg(program));
        EXPECT_EQ(keys.value("Name"), "Dialcove");
        EXPECT_EQ(keys.value("Comment"),
                  c.comment ? QString::fromLatin1(c.comment) : Platform::DesktopIdentity::summary());
        EXPECT_EQ(keys.value("Icon"), "works.murvel.dialcove");
        EXPECT_EQ(keys.value("Type"), "Application");
        EXPECT_EQ(copies.autostartFolder(), QStringList{"works.murvel.dialcove.desktop"});
    }
}

TEST(LoginItem, AnEntryAnEarlierVersionWroteIsRewrittenInPlaceAndNoOtherIsTouched) {
    ConfigHome home;
    const Copies copies(home);
    const auto earlier = [](const QString& program) {
        return "[Desktop Entry]\nType=Application\nName=Dialcove\nExec=" +
               QFile::encodeName(AutostartEntry::execValue(program)) +
               "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    };

    // This copy's own earlier entry takes the icon and comment, and stays on.
    home.write(entryFile, earlier(copies.installed()));
    {
        LoginItem item(AutostartEntry::forProgram(copies.installed()));
        EXPECT_TRUE(item.enabled());
        EXPECT_EQ(copies.entry().value("Icon"), "works.murvel.dialcove");
        EXPECT_EQ(copies.entry().value("Comment"), "From the menu entry");
        EXPECT_EQ(copies.entry().value("Exec"), "dialcove");
    }

    // Entries that are not this copy's earlier one stay as they are: the build folder's (which
    // starts another copy), one with a key of the user's, one switched off.
    const QByteArray untouched[] = {
        earlier(copies.buildFolder()),
        earlier(copies.installed()) + "X-GNOME-Autostart-Delay=10\n",
        earlier(copies.installed()) + "Hidden=true\n",
    };
    for (const QByteArray& content : untouched) {
        SCOPED_TRACE(content.toStdString());
        home.write(entryFile, content);
        LoginItem item(AutostartEntry::forProgram(copies.installed()));
        QFile file(home.path(entryFile));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), content);
    }

    // Turned on from the installed copy, the build folder's entry is replaced, not joined.
    home.write(entryFile, earlier(copies.buildFolder()));
    LoginItem item(AutostartEntry::forProgram(copies.installed()));
    EXPECT_FALSE(item.enabled());
    item.setEnabled(true);
    EXPECT_TRUE(item.enabled());
    EXPECT_EQ(copies.entry().value("Exec"), "dialcove");
    EXPECT_EQ(copies.autostartFolder(), QStringList{"works.murvel.dialcove.desktop"});
}

TEST(LoginItem, SharedIsOneItemForTheRunningProgram) {
    ConfigHome home;
    LoginItem& shared = LoginItem::shared();
    EXPECT_EQ(&shared, &LoginItem::shared());
    EXPECT_EQ(shared.entry().executable(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(
        shared.entry().filePath().endsWith(QStringLiteral("/autostart/works.murvel.dialcove.desktop")));
}

} // namespace
