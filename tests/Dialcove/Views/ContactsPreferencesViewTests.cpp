#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Shell/AppWindows.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "DialcoveCore/Shortcut.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"
#include "MurvelUI/Preferences/PreferencesGroup.hpp"
#include "MurvelUI/Preferences/PreferencesRow.hpp"
#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"
#include "Platform/AutostartEntry.hpp"
#include "Platform/Desktop/SyncFolderChoice.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QSignalSpy>
#include <gtest/gtest.h>

using Dialcove::ContactSettings;
using Dialcove::ContactsPreferencesView;
using DialcoveCore::PhonePlan;
using MurvelPreferences::PreferenceSync;
using Platform::SyncFolderStore;
using Platform::UserDefaults;

namespace {

SyncFolderStore::Options quickly() {
    SyncFolderStore::Options options;
    options.debounce = std::chrono::milliseconds(0);
    options.rescanInterval = std::chrono::milliseconds(0);
    return options;
}

// One installation over a sync folder: its defaults, its view of the folder and its settings.
struct Machine {
    Machine(const QString& defaultsPath, std::optional<QString> folder)
        : defaults(std::make_shared<UserDefaults>(defaultsPath)),
          store(std::make_shared<SyncFolderStore>(std::move(folder), quickly())),
          settings(defaults, std::nullopt,
                   ContactSettings::Sources{store, [] { return std::optional<std::string>("DE"); }}) {}

    std::shared_ptr<UserDefaults> defaults;
    std::shared_ptr<SyncFolderStore> store;
    ContactSettings settings;
};

// The rows of a group that show, in order.
QList<QWidget*> visibleRows(const MurvelUI::PreferencesGroup* group) {
    QList<QWidget*> rows;
    for (QWidget* child : group->card()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && group->card()->layout()->indexOf(child) >= 0)
            rows.append(child);
    return rows;
}

class ContactsPreferencesViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xdg.isValid());
        ASSERT_TRUE(QDir().mkpath(shared));
        Dialcove::LinuxStrings::install();
    }

    void show(ContactsPreferencesView& view) {
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.resize(560, view.heightForWidth(560));
        view.show();
        TestSupport::drainEvents();
    }

    bool syncedUntil(std::initializer_list<Machine*> machines, const std::function<bool()>& condition) {
        return TestSupport::waitUntil([&] {
            for (Machine* machine : machines)
                machine->store->synchronize();
            return condition();
        });
    }

    TestSupport::XdgSandbox xdg;
    const QString shared = xdg.path("shared");
};

TEST_F(ContactsPreferencesViewTest, TheSyncNoteComesAndGoesWithTheSync) {
    Machine here(xdg.path("here.ini"), shared);
    ASSERT_FALSE(here.settings.syncUnavailable());
    ContactsPreferencesView view(here.settings, false, [](QWidget*) {});
    show(view);
    EXPECT_EQ(visibleRows(view.generalGroup()).size(), 2);
    EXPECT_TRUE(view.syncNote()->isHidden());
    const int heightWithout = view.heightForWidth(560);

    here.store->setFolder(std::nullopt);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return here.settings.syncUnavailable(); }));
    EXPECT_EQ(visibleRows(view.generalGroup()).size(), 3);
    EXPECT_EQ(visibleRows(view.generalGroup()).last(), view.syncNote());
    EXPECT_GT(view.heightForWidth(560), heightWithout);
    auto* note = view.findChild<QWidget*>(QStringLiteral("preferences.syncNote"));
    ASSERT_EQ(note, view.syncNote());
    EXPECT_NE(note->findChild<MurvelUI::MurvelText*>(), nullptr);
    EXPECT_EQ(note->findChild<MurvelUI::MurvelText*>()->text(),
              QStringLiteral(
                  "No sync folder is set or it cannot be reached. Your settings stay on this computer."));
    EXPECT_NE(view.findChild<MurvelUI::MurvelButton*>(QStringLiteral("preferences.chooseSyncFolder")),
              nullptr);

    here.store->setFolder(shared);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !here.settings.syncUnavailable(); }));
    EXPECT_TRUE(view.syncNote()->isHidden());
    EXPECT_EQ(visibleRows(view.generalGroup()).size(), 2);
}

TEST_F(ContactsPreferencesViewTest, ShowsTheShortcutAsLinuxKeyCapsWithTheSearchPanelNote) {
    Machine here(xdg.path("here.ini"), shared);
    ContactsPreferencesView view(here.settings, false);
    show(view);
    auto* caps = view.findChild<MurvelUI::KeyCaps*>(QStringLiteral("preferences.shortcutCaps"));
    ASSERT_NE(caps, nullptr);
    EXPECT_EQ(caps->keys(), (QStringList{"Ctrl", "Alt", "K"}));
    EXPECT_NE(view.findChild<MurvelUI::MurvelText*>(), nullptr);
    bool noteFound = false;
    for (auto* text : view.findChildren<MurvelUI::MurvelText*>())
        noteFound = noteFound || text->text() == QStringLiteral("Change it in the search panel.");
    EXPECT_TRUE(noteFound);

    // A shortcut changed elsewhere shows at once.
    here.settings.update(DialcoveCore::PreferenceValue::shortcut(*DialcoveCore::Shortcut::make(
        0, DialcoveCore::ShortcutModifiers::command | DialcoveCore::ShortcutModifiers::shift, "A")));
    EXPECT_EQ(caps->keys(), (QStringList{"Shift", "Super", "A"}));
}

TEST_F(ContactsPreferencesViewTest, AChosenCountryCodeIsUpdatedAndThenSynced) {
    Machine here(xdg.path("here.ini"), shared);
    Machine there(xdg.path("there.ini"), shared);
    ContactsPreferencesView view(here.settings, false);
    show(view);
    auto* menu = view.findChild<MurvelUI::PreferencesChoiceMenu*>(QStringLiteral("preferences.countryCode"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->text(), QStringLiteral("Germany (+49)"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(menu)->text(QAccessible::Name),
              QStringLiteral("Country code"));

    int changes = 0;
    here.settings.setOnChange([&changes] { ++changes; });
    menu->openChoices();
    ASSERT_NE(menu->openMenu(), nullptr);
    menu->openMenu()->actions().last()->trigger();
    EXPECT_EQ(here.settings.values().phonePlan, PhonePlan::other);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(menu->text(), QStringLiteral("Other: only numbers with +"));
    // Stored as a synced record that the other machine reads.
    ASSERT_TRUE(
        syncedUntil({&here, &there}, [&] { return there.settings.values().phonePlan == PhonePlan::other; }));

    // Without a sync the choice only updates the settings.
    ContactSettings memoryOnly(
        nullptr,
        DialcoveCore::ContactPreferences{true, PhonePlan::spain, DialcoveCore::Shortcut::defaultShortcut()});
    ContactsPreferencesView bare(memoryOnly, false);
    show(bare);
    bare.countryCodeMenu()->openChoices();
    bare.countryCodeMenu()->openMenu()->actions()[3]->trigger();
    EXPECT_EQ(memoryOnly.values().phonePlan, PhonePlan::mexico);
}

TEST_F(ContactsPreferencesViewTest, AChangeFromAnotherMachineMovesTheMenuAndIsNotWrittenBack) {
    Machine here(xdg.path("here.ini"), shared);
    Machine there(xdg.path("there.ini"), shared);
    ContactsPreferencesView view(here.settings, false);
    show(view);
    QSignalSpy chosen(view.countryCodeMenu(), &MurvelUI::ChoiceMenu::selectionChosen);

    there.settings.sync()->set(PhonePlan::austria, QStringLiteral("phonePlan"));
    ASSERT_TRUE(
        syncedUntil({&here, &there}, [&] { return here.settings.values().phonePlan == PhonePlan::austria; }));
    EXPECT_EQ(view.countryCodeMenu()->text(), QStringLiteral("Austria (+43)"));
    const QDir folder(shared);
    QStringList before;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files))
        before << file.fileName() + QLatin1Char(':') +
                      QString::number(file.lastModified().toMSecsSinceEpoch()) + QLatin1Char(':') +
                      QString::number(file.size());
    TestSupport::drainEvents();
    here.store->synchronize();
    there.store->synchronize();
    TestSupport::drainEvents();
    QStringList after;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files))
        after << file.fileName() + QLatin1Char(':') +
                     QString::number(file.lastModified().toMSecsSinceEpoch()) + QLatin1Char(':') +
                     QString::number(file.size());
    EXPECT_EQ(after, before) << "the shown value wrote no new record";
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(ContactsPreferencesViewTest, ListsTheNinePlansInOrderWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    Machine here(xdg.path("here.ini"), shared);
    ContactsPreferencesView view(here.settings, false);
    show(view);
    view.countryCodeMenu()->openChoices();
    QStringList entries;
    for (QAction* action : view.countryCodeMenu()->openMenu()->actions())
        entries << action->text();
    view.countryCodeMenu()->openMenu()->close();
    QLocale::setDefault(saved);
    EXPECT_EQ(entries, (QStringList{"Brazil (+55)", "United States / Canada (+1)", "Portugal (+351)",
                                    "Mexico (+52)", "Spain (+34)", "Germany (+49)", "Austria (+43)",
                                    "Switzerland (+41)", "Other: only numbers with +"}));
}

TEST_F(ContactsPreferencesViewTest, SnapshotModeLeavesTheLoginItemAlone) {
    Machine here(xdg.path("here.ini"), std::nullopt);
    ContactsPreferencesView view(here.settings, true);
    show(view);
    QSignalSpy flipped(&view, &ContactsPreferencesView::snapshotOpenAtLoginChanged);
    auto* toggle = view.findChild<MurvelUI::MurvelSwitch*>(QStringLiteral("preferences.loginSwitch"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(view.snapshotOpenAtLogin());
    toggle->click();
    EXPECT_TRUE(view.snapshotOpenAtLogin());
    EXPECT_EQ(flipped.count(), 1);
    EXPECT_FALSE(QFileInfo::exists(Platform::AutostartEntry::forRunningApplication().filePath()));
    EXPECT_FALSE(QDir(xdg.path("config/autostart")).exists());
    // No way to choose a folder: the note stands alone.
    EXPECT_FALSE(view.syncNote()->isHidden());
    EXPECT_EQ(view.findChild<MurvelUI::MurvelButton*>(QStringLiteral("preferences.chooseSyncFolder")),
              nullptr);
}

TEST_F(ContactsPreferencesViewTest, TheLiveLoginSwitchFollowsTheLoginItem) {
    MurvelUI::LoginItem item(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove"),
                                                      QStringLiteral("Dialcove"),
                                                      QStringLiteral("/opt/dialcove")));
    Machine here(xdg.path("here.ini"), shared);
    ContactsPreferencesView view(here.settings, false, {}, &item);
    show(view);
    view.loginRow()->toggle()->click();
    EXPECT_TRUE(item.enabled());
    EXPECT_TRUE(view.loginRow()->isOn());
    EXPECT_TRUE(QFileInfo::exists(item.entry().filePath()));
}

// Over the process's own sync folder, as the app runs: a chosen folder makes the note go.
TEST_F(ContactsPreferencesViewTest, ChoosingASyncFolderMakesTheNoteGoAndBadChoicesChangeNothing) {
    ContactSettings settings(std::make_shared<UserDefaults>(xdg.path("defaults.ini")), std::nullopt,
                             ContactSettings::Sources{{}, [] { return std::optional<std::string>("DE"); }});
    ASSERT_TRUE(settings.syncUnavailable());
    QString answer;
    int asked = 0;
    ContactsPreferencesView view(settings, false, [&](QWidget* parent) {
        Platform::chooseSyncFolder(parent, [&](QWidget*, const QString&) {
            ++asked;
            return answer;
        });
    });
    show(view);
    auto* button = view.findChild<MurvelUI::MurvelButton*>(QStringLiteral("preferences.chooseSyncFolder"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Choose Sync Folder\u2026"));

    // A file, a folder that has gone, and a cancel: the note stays and nothing is kept.
    ASSERT_TRUE(xdg.write("a-file", "not a folder"));
    const QString gone = xdg.path("gone");
    ASSERT_TRUE(QDir().mkpath(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    for (const QString& bad : {xdg.path("a-file"), gone, QString()}) {
        answer = bad;
        button->click();
        TestSupport::drainEvents();
        EXPECT_FALSE(view.syncNote()->isHidden()) << bad.toStdString();
        EXPECT_FALSE(SyncFolderStore::configuredFolder().has_value());
    }
    EXPECT_EQ(asked, 3);

    answer = shared;
    button->click();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view.syncNote()->isHidden(); }));
    EXPECT_EQ(SyncFolderStore::configuredFolder(), QDir::cleanPath(shared));
    EXPECT_FALSE(settings.syncUnavailable());

    // The folder goes away later: the note comes back and the settings keep their values.
    settings.update(DialcoveCore::PreferenceValue::phonePlan(PhonePlan::spain));
    settings.sync()->set(PhonePlan::spain, QStringLiteral("phonePlan"));
    ASSERT_TRUE(QDir(shared).removeRecursively());
    SyncFolderStore::standard()->synchronize();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !view.syncNote()->isHidden(); }));
    EXPECT_EQ(settings.values().phonePlan, PhonePlan::spain);
}

// A chosen folder can be mended: its row shows the path, "Change…" picks another and "Stop
// Syncing" forgets it, after which the note offers a folder again.
TEST_F(ContactsPreferencesViewTest, AChosenSyncFolderCanBeChangedOrStopped) {
    SyncFolderStore::setConfiguredFolder(shared);
    ContactSettings settings(std::make_shared<UserDefaults>(xdg.path("defaults.ini")), std::nullopt,
                             ContactSettings::Sources{{}, [] { return std::optional<std::string>("DE"); }});
    const QString other = xdg.path("other");
    ASSERT_TRUE(QDir().mkpath(other));
    ContactsPreferencesView view(settings, false, [&](QWidget* parent) {
        Platform::chooseSyncFolder(parent, [&](QWidget*, const QString&) { return other; });
    });
    view.setSyncFolderPlace(
        {&SyncFolderStore::configuredFolder, [] { SyncFolderStore::setConfiguredFolder(std::nullopt); }});
    show(view);
    MurvelUI::PreferencesRow* row = view.syncFolderRow();
    ASSERT_FALSE(row->isHidden());
    EXPECT_TRUE(view.syncNote()->isHidden());
    EXPECT_EQ(row->titleView()->text(), "Sync folder");
    EXPECT_EQ(row->noteView()->text(), QDir::cleanPath(shared));

    view.findChild<MurvelUI::MurvelButton*>(QStringLiteral("preferences.changeSyncFolder"))->click();
    TestSupport::drainEvents();
    EXPECT_EQ(SyncFolderStore::configuredFolder(), QDir::cleanPath(other));
    EXPECT_EQ(row->noteView()->text(), QDir::cleanPath(other));

    view.findChild<MurvelUI::MurvelButton*>(QStringLiteral("preferences.stopSyncing"))->click();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return settings.syncUnavailable(); }));
    EXPECT_FALSE(SyncFolderStore::configuredFolder().has_value());
    EXPECT_TRUE(row->isHidden());
    EXPECT_FALSE(view.syncNote()->isHidden());
}

} // namespace
