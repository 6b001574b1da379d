#include "Dialcove/Services/ContactSettings.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QDir>
#include <gtest/gtest.h>

using Dialcove::ContactSettings;
using DialcoveCore::ContactPreferences;
using DialcoveCore::PhonePlan;
using DialcoveCore::PreferenceValue;
using DialcoveCore::Shortcut;
using MurvelPreferences::PreferenceSync;
using Platform::SyncFolderStore;
using Platform::UserDefaults;

namespace {

const QSet<QString> syncedKeys = {"enabled", "phonePlan", "shortcut"};

SyncFolderStore::Options quickly() {
    SyncFolderStore::Options options;
    options.debounce = std::chrono::milliseconds(0);
    options.rescanInterval = std::chrono::milliseconds(0);
    return options;
}

Shortcut controlShiftA() {
    return *Shortcut::make(
        0, DialcoveCore::ShortcutModifiers::control | DialcoveCore::ShortcutModifiers::shift, "A");
}

ContactSettings::RegionProvider region(std::optional<std::string> code) {
    return [code] { return code; };
}

// One installation: its own defaults file and its own view of a sync folder.
struct Machine {
    Machine(const QString& defaultsPath, std::optional<QString> folder,
            SyncFolderStore::Options options = quickly())
        : defaults(std::make_shared<UserDefaults>(defaultsPath)),
          store(std::make_shared<SyncFolderStore>(std::move(folder), std::move(options))) {}

    // A sync of its own, as another part of the program or an older version would write through.
    std::unique_ptr<PreferenceSync> sync() const {
        return std::make_unique<PreferenceSync>(defaults, syncedKeys, store);
    }

    std::unique_ptr<ContactSettings> settings(std::optional<std::string> code = "DE") {
        auto settings = std::make_unique<ContactSettings>(
            defaults, std::nullopt, ContactSettings::Sources{store, region(std::move(code))});
        settings->setOnChange([this] { ++changes; });
        return settings;
    }

    std::shared_ptr<UserDefaults> defaults;
    std::shared_ptr<SyncFolderStore> store;
    int changes = 0;
};

class ContactSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xdg.isValid());
        ASSERT_TRUE(QDir().mkpath(shared));
    }

    // Runs both folders' rescans until `condition` holds.
    static bool syncedUntil(std::initializer_list<Machine*> machines,
                            const std::function<bool()>& condition) {
        return TestSupport::waitUntil([&] {
            for (Machine* machine : machines)
                machine->store->synchronize();
            return condition();
        });
    }

    TestSupport::XdgSandbox xdg;
    const QString shared = xdg.path("shared");
};

} // namespace

TEST_F(ContactSettingsTest, NothingStoredGivesTheDefaultsWithTheLocalesPlan) {
    const struct {
        std::optional<std::string> region;
        PhonePlan plan;
    } cases[] = {{"DE", PhonePlan::germany},
                 {"br", PhonePlan::brazil},
                 {"FR", PhonePlan::other},
                 {{}, PhonePlan::other}};
    for (const auto& c : cases) {
        const ContactPreferences expected{true, c.plan, Shortcut::defaultShortcut()};
        Machine machine(xdg.path(QString("m-%1.ini").arg(c.region.value_or("none").c_str())), shared);
        EXPECT_EQ(machine.settings(c.region)->values(), expected);
        EXPECT_EQ(ContactSettings(nullptr, std::nullopt, {nullptr, region(c.region)}).values(), expected);
    }
}

TEST_F(ContactSettingsTest, StoredValuesWinAndEachForeignValueFallsBackAlone) {
    const ContactPreferences stored{false, PhonePlan::portugal, controlShiftA()};
    const auto seed = [&](Machine& machine) {
        const auto sync = machine.sync();
        sync->set(false, "enabled");
        sync->set(PhonePlan::portugal, "phonePlan");
        sync->set(controlShiftA().encoded(), "shortcut");
    };
    Machine clean(xdg.path("clean.ini"), shared);
    seed(clean);
    EXPECT_EQ(clean.settings("DE")->values(), stored);

    using Json = nlohmann::json;
    const struct {
        const char* name;
        const char* key;
        std::optional<Json> json; // none: the record itself is unreadable
        ContactPreferences expected;
    } cases[] = {
        {"enabled as text", "enabled", Json("false"), {true, PhonePlan::portugal, controlShiftA()}},
        {"enabled as a number", "enabled", Json(0), {true, PhonePlan::portugal, controlShiftA()}},
        {"enabled as null", "enabled", Json(nullptr), {true, PhonePlan::portugal, controlShiftA()}},
        {"a plan in another case", "phonePlan", Json("Spain"), {false, PhonePlan::germany, controlShiftA()}},
        {"a plan as its number", "phonePlan", Json(4), {false, PhonePlan::germany, controlShiftA()}},
        {"a plan in a list",
         "phonePlan",
         Json::array({"spain"}),
         {false, PhonePlan::germany, controlShiftA()}},
        {"a plan of a later version",
         "phonePlan",
         Json("japan"),
         {false, PhonePlan::germany, controlShiftA()}},
        {"a shortcut of a later version",
         "shortcut",
         Json::parse(R"({"version":2,"keyCode":40,"modifiers":1,"keyLabel":"K"})"),
         {false, PhonePlan::portugal, Shortcut::defaultShortcut()}},
        {"a shortcut out of range",
         "shortcut",
         Json::parse(R"({"version":1,"keyCode":4294967336,"modifiers":5,"keyLabel":"K"})"),
         {false, PhonePlan::portugal, Shortcut::defaultShortcut()}},
        {"a shortcut as text",
         "shortcut",
         Json("ctrl+alt+k"),
         {false, PhonePlan::portugal, Shortcut::defaultShortcut()}},
        {"an unreadable plan record",
         "phonePlan",
         std::nullopt,
         {false, PhonePlan::germany, controlShiftA()}},
    };
    int n = 0;
    for (const auto& c : cases) {
        ++n;
        Machine machine(xdg.path(QString("m%1.ini").arg(n)), xdg.path(QString("folder%1").arg(n)));
        seed(machine);
        if (c.json)
            machine.sync()->set(*c.json, c.key);
        else
            machine.defaults->setData(PreferenceSync::recordPrefix + c.key, "{not a record");
        std::unique_ptr<ContactSettings> settings;
        ASSERT_NO_THROW(settings = machine.settings("DE")) << c.name;
        EXPECT_EQ(settings->values(), c.expected) << c.name;
        EXPECT_EQ(machine.changes, 0) << c.name; // set before onChange was
    }
}

TEST_F(ContactSettingsTest, UpdateChangesMemoryAndRunsOnChangeWithoutStoring) {
    Machine machine(xdg.path("m.ini"), shared);
    const auto settings = machine.settings();
    int valuesChanged = 0;
    QObject::connect(settings.get(), &ContactSettings::valuesChanged, [&] { ++valuesChanged; });

    settings->update(PreferenceValue::enabled(false));
    EXPECT_FALSE(settings->values().enabled);
    EXPECT_EQ(machine.changes, 1);
    EXPECT_EQ(valuesChanged, 1);
    EXPECT_EQ(settings->sync()->value<bool>("enabled"), std::nullopt);

    settings->update(PreferenceValue::enabled(false)); // the same value: no notification, onChange still runs
    settings->update(PreferenceValue::phonePlan(PhonePlan::mexico));
    EXPECT_EQ(settings->values(),
              (ContactPreferences{false, PhonePlan::mexico, Shortcut::defaultShortcut()}));
    EXPECT_EQ(machine.changes, 3);
    EXPECT_EQ(valuesChanged, 2);

    settings->setValues({true, PhonePlan::spain, controlShiftA()}); // memory only
    EXPECT_EQ(machine.changes, 3);
    EXPECT_EQ(valuesChanged, 3);
}

TEST_F(ContactSettingsTest, WithoutDefaultsTheSettingsLiveInMemory) {
    const ContactPreferences fixed{false, PhonePlan::switzerland, controlShiftA()};
    ContactSettings settings(nullptr, fixed);
    int changes = 0;
    settings.setOnChange([&] { ++changes; });
    settings.reload();
    settings.startSync();
    EXPECT_EQ(settings.sync(), nullptr);
    EXPECT_EQ(settings.values(), fixed);
    EXPECT_EQ(changes, 0);
    settings.update(PreferenceValue::enabled(true));
    EXPECT_TRUE(settings.values().enabled);
    EXPECT_EQ(changes, 1);
}

TEST_F(ContactSettingsTest, AChangeMadeOnAnotherMachineReachesTheSettings) {
    Machine here(xdg.path("here.ini"), shared);
    Machine there(xdg.path("there.ini"), shared);
    const auto settings = here.settings("DE");
    const auto theirs = there.sync();

    theirs->set(PhonePlan::spain, "phonePlan");
    theirs->set(controlShiftA().encoded(), "shortcut");
    ASSERT_TRUE(syncedUntil({&here, &there}, [&] {
        return settings->values() == ContactPreferences{true, PhonePlan::spain, controlShiftA()};
    }));
    EXPECT_GE(here.changes, 2); // once per key that changed
    EXPECT_FALSE(settings->syncUnavailable());

    // And back: a change stored through the settings' sync reaches the other machine.
    settings->update(PreferenceValue::enabled(false));
    settings->sync()->set(false, "enabled");
    ASSERT_TRUE(syncedUntil({&here, &there}, [&] { return theirs->value<bool>("enabled") == false; }));
    EXPECT_FALSE(settings->values().enabled);
}

TEST_F(ContactSettingsTest, ANewAccountBringsItsOwnValuesAndItsOwnObservers) {
    const QString otherFolder = xdg.path("other");
    ASSERT_TRUE(QDir().mkpath(otherFolder));
    Machine here(xdg.path("here.ini"), shared);
    Machine elsewhere(xdg.path("elsewhere.ini"), otherFolder);
    elsewhere.sync()->set(PhonePlan::mexico, "phonePlan");
    here.sync()->set(PhonePlan::spain, "phonePlan");
    const auto settings = here.settings("DE");
    ASSERT_EQ(settings->values().phonePlan, PhonePlan::spain);
    MurvelPreferences::PreferenceSync* firstSync = settings->sync();

    // Moving to another folder is moving to another account.
    here.store->setFolder(otherFolder);
    ASSERT_TRUE(
        syncedUntil({&here, &elsewhere}, [&] { return settings->values().phonePlan == PhonePlan::mexico; }));
    EXPECT_NE(settings->sync(), firstSync);
    EXPECT_FALSE(settings->syncUnavailable());

    // The new sync's observers hear the new account; each change reloads once.
    const int changesBefore = here.changes;
    elsewhere.sync()->set(PhonePlan::austria, "phonePlan");
    ASSERT_TRUE(
        syncedUntil({&here, &elsewhere}, [&] { return settings->values().phonePlan == PhonePlan::austria; }));
    TestSupport::drainEvents();
    EXPECT_EQ(here.changes, changesBefore + 1);

    // No folder, no account: the local copies stay and the settings say the sync is unavailable.
    here.store->setFolder(std::nullopt);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return settings->syncUnavailable(); }));
    TestSupport::drainEvents();
    EXPECT_EQ(settings->values().phonePlan, PhonePlan::austria);
}

TEST_F(ContactSettingsTest, SyncUnavailableFollowsTheSyncsIssue) {
    SyncFolderStore::Options small = quickly();
    small.quota.totalBytes = 150; // room for one record
    Machine machine(xdg.path("m.ini"), shared, small);
    const auto settings = machine.settings();
    int unavailableChanged = 0;
    QObject::connect(settings.get(), &ContactSettings::syncUnavailableChanged, [&] { ++unavailableChanged; });
    ASSERT_FALSE(settings->syncUnavailable());

    settings->sync()->set(false, "enabled");
    settings->sync()->set(PhonePlan::brazil, "phonePlan");
    ASSERT_TRUE(TestSupport::waitUntil([&] { return settings->syncUnavailable(); }));
    EXPECT_EQ(unavailableChanged, 1);
    EXPECT_EQ(machine.changes, 0); // an issue alone is no change of values

    // Without a folder from the start there is no account at all.
    Machine alone(xdg.path("alone.ini"), std::nullopt);
    EXPECT_TRUE(alone.settings()->syncUnavailable());
}
