#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/ApplicationIdentity.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"

#include <QCoreApplication>
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
         "Restrictions on this computer prevent Contacts access. Check with the person who manages "
         "this computer."},
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
