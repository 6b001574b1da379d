#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/ApplicationIdentity.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(LinuxStrings, GivesTheLinuxReadingOfHostTextsAndLeavesOthersAsWritten) {
    Dialcove::LinuxStrings::install();
    Dialcove::LinuxStrings::install(); // a second install adds no second table

    struct Case {
        const char* key;
        const char* shown;
    };
    const Case cases[] = {
        {"Open System Settings", "Open Contacts Access"},
        {"Another app already uses this one. The menu icon still opens the search.",
         "Another app already uses this one. The tray icon still opens the search."},
        {"Restrictions on this Mac prevent Contacts access. Check with the person who manages this Mac.",
         "The folder set by DIALCOVE_CONTACTS_DIR cannot be read. Start Dialcove without it, or set it to "
         "a folder you can read."},
        {"System Settings \u203A Privacy & Security \u203A Contacts",
         "Contacts Access \u203A Allow Dialcove to read these contacts"},
        {"Edit in Contacts", "Open vCard File"},
        {"\u2303", "Ctrl"},
        {"\u2325", "Alt"},
        {"\u21E7", "Shift"},
        {"\u2318", "Super"},
        {"K", "K"},
        {"Download it, quit the app and drag the new copy to Applications. Your settings stay.",
         "Download it, quit the app and unpack the new copy over the old one. Your settings stay."},
        {"iCloud is unavailable. Your settings stay on this Mac.",
         "No sync folder is set or it cannot be reached. Your settings stay on this computer."},
        {"Change it in the menu bar panel.", "Change it in the search panel."},
        {"Dialcove", "Dialcove"},
        {"Preferences", "Preferences"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QCoreApplication::translate("AnyView", c.key), QString::fromUtf8(c.shown)) << c.key;
        EXPECT_EQ(QCoreApplication::translate("OtherView", c.key), QString::fromUtf8(c.shown)) << c.key;
    }
}

// The access texts follow the address book: a folder that is gone although access was given is
// said as such with its path, a folder forced by the environment is named, and an answer the
// settings file did not take is said to hold for the run.
TEST(LinuxStrings, AccessReadingsFollowTheAddressBook) {
    using Platform::AddressBookSettings;
    using Consent = AddressBookSettings::Consent;
    Dialcove::LinuxStrings::install();
    QTemporaryDir home;
    const QString folder = home.filePath("contacts");
    const QString file = home.filePath("addressbook.conf");
    const auto tr = [](const char* text) { return QCoreApplication::translate("ContactPermission", text); };
    const char* const turnedOff = "Contacts access is turned off";
    const char* const allowIn = "Allow Dialcove to access Contacts in System Settings.";
    const char* const path = "System Settings \u203A Privacy & Security \u203A Contacts";
    const char* const promise = "Dialcove only reads: it never creates, changes or deletes a contact.";
    const char* const restricted =
        "Restrictions on this Mac prevent Contacts access. Check with the person who manages this Mac.";

    enum class Folder { readable, missing, unreadable };
    struct Case {
        const char* name;
        Consent consent;
        Folder state;
        bool unwritable;
        QString title;
        QString message;
        QString pathLine;
    };
    const QString allowInWindow = "Allow Dialcove to read your contacts in the Contacts Access window.";
    const QString allowPath = "Contacts Access \u203A Allow Dialcove to read these contacts";
    const QString choosePath = "Contacts Access \u203A Choose\u2026";
    const Case cases[] = {
        {"declined", Consent::declined, Folder::readable, false, turnedOff, allowInWindow, allowPath},
        {"declined, folder gone", Consent::declined, Folder::missing, false, turnedOff, allowInWindow,
         allowPath},
        {"given, folder gone", Consent::given, Folder::missing, false, "Your contacts folder is missing",
         folder + " does not exist. Choose another folder in the Contacts Access window.", choosePath},
        {"given, folder unreadable", Consent::given, Folder::unreadable, false,
         "Your contacts folder cannot be read",
         "Dialcove may not open " + folder + ". Choose another folder in the Contacts Access window.",
         choosePath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        if (c.state != Folder::missing) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        AddressBookSettings settings(file);
        settings.setFolder(folder);
        settings.setConsent(c.consent);
        const bool readable = c.state == Folder::readable;
        Dialcove::LinuxStrings::setAddressBook(
            Platform::AddressBook(settings, [readable](const QString&) { return readable; }));
        EXPECT_EQ(tr(turnedOff), c.title);
        EXPECT_EQ(tr(allowIn), c.message);
        EXPECT_EQ(tr(path), c.pathLine);
        EXPECT_EQ(tr(promise), promise);
    }

    // An answer the file does not take (a file stands where its folder should be).
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile blocker(home.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AddressBookSettings unwritable(home.filePath("blocked/addressbook.conf"));
    unwritable.setFolder(folder);
    unwritable.setConsent(Consent::given);
    Dialcove::LinuxStrings::setAddressBook(Platform::AddressBook(unwritable));
    EXPECT_EQ(tr(promise), QString(promise) + " " + unwritable.heldForRunText());
    unwritable.setConsent(Consent::declined);
    EXPECT_EQ(tr(allowIn), allowInWindow + " " + unwritable.heldForRunText());

    // A folder forced by the environment that cannot be read: the variable and its folder, under ~.
    qputenv(AddressBookSettings::kFolderVariable, QFile::encodeName(QDir::homePath() + "/no-such-contacts"));
    EXPECT_EQ(tr(restricted), "~/no-such-contacts, set by DIALCOVE_CONTACTS_DIR, does not exist or cannot be "
                              "read. Start Dialcove without DIALCOVE_CONTACTS_DIR, or set it to a folder you "
                              "can read.");
    qunsetenv(AddressBookSettings::kFolderVariable);
    Dialcove::LinuxStrings::setAddressBook(std::nullopt);
    EXPECT_EQ(tr(turnedOff), turnedOff);
}

// A reading that changes reaches every window as a language change, once; the same readings again
// send nothing.
TEST(LinuxStrings, AChangedReadingIsALanguageChangeForEveryWindow) {
    using Platform::AddressBookSettings;
    Dialcove::LinuxStrings::install();
    QTemporaryDir home;
    const QString folder = home.filePath("contacts");
    AddressBookSettings settings(home.filePath("addressbook.conf"));
    settings.setFolder(folder);
    settings.setConsent(AddressBookSettings::Consent::given);

    struct Window : QWidget {
        int changes = 0;
        void changeEvent(QEvent* event) override {
            if (event->type() == QEvent::LanguageChange)
                ++changes;
        }
    };
    Window window;
    QWidget child(&window);
    Dialcove::LinuxStrings::setAddressBook(Platform::AddressBook(settings));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.changes, 1) << "the folder is missing";
    Dialcove::LinuxStrings::addressBookChanged();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.changes, 1) << "nothing changed";
    ASSERT_TRUE(QDir().mkpath(folder));
    Dialcove::LinuxStrings::addressBookChanged();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.changes, 2) << "the folder came back";
    Dialcove::LinuxStrings::setAddressBook(std::nullopt);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.changes, 2) << "a readable folder reads as none";
}

TEST(AppUpdateNotifier, SnapshotArgumentsAreThoseBeginningWithTheSwitchPrefix) {
    struct Case {
        QStringList arguments;
        bool snapshot;
    };
    const Case cases[] = {
        {{"dialcove"}, false},
        {{"dialcove", "--snapshot-menu"}, true},
        {{"dialcove", "--snapshot-"}, true},
        {{"dialcove", "x--snapshot-menu"}, false},
        {{"dialcove", "--snapshot"}, false},
        {{"dialcove", "-v", "--snapshot-update=1"}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dialcove::argumentsAskForSnapshot(c.arguments), c.snapshot)
            << c.arguments.join(' ').toStdString();
}

TEST(ApplicationIdentity, CarriesTheBuiltVersion) {
    const QString before = QCoreApplication::applicationVersion();
    Dialcove::applyApplicationIdentity();
    EXPECT_FALSE(QCoreApplication::applicationVersion().isEmpty());
    EXPECT_TRUE(QCoreApplication::applicationVersion().contains('.'));
    QCoreApplication::setApplicationVersion(before);
}

} // namespace
