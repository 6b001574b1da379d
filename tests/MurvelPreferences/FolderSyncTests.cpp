#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"
#include "Platform/SyncFolderFileNames.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/LogCapture.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/SyncFolderOutages.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MurvelPreferences;
using Platform::SyncFolderStore;
using Platform::UserDefaults;

namespace {

const QSet<QString> syncedKeys = {"enabled", "phonePlan", "shortcut"};
const QString enabledRecord = PreferenceSync::recordPrefix + "enabled";
const QString planRecord = PreferenceSync::recordPrefix + "phonePlan";

SyncFolderStore::Options quickly() {
    SyncFolderStore::Options options;
    options.debounce = std::chrono::milliseconds(0);
    options.rescanInterval = std::chrono::milliseconds(0);
    return options;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// One installation: its own defaults file and its own view of the shared folder.
struct Machine {
    Machine(const QString& defaultsPath, std::optional<QString> folder, const QString& writer = {},
            SyncFolderStore::Options options = quickly())
        : defaults(std::make_shared<UserDefaults>(defaultsPath)),
          store(std::make_shared<SyncFolderStore>(std::move(folder), std::move(options))) {
        if (!writer.isEmpty())
            defaults->setString(PreferenceSync::writerKey, writer);
        startSync();
    }

    // What the settings do at launch and on every identity change.
    void startSync() {
        sync.reset();
        sync = std::make_unique<PreferenceSync>(defaults, syncedKeys, store);
    }

    int observe(const QString& key) {
        sync->addObserver(key, [this, key] { ++calls[key]; });
        return 0;
    }

    // The folder holds exactly the local records.
    bool folderMatchesLocal() const {
        for (const QString& key : syncedKeys)
            if (store->data(PreferenceSync::recordPrefix + key) !=
                defaults->data(PreferenceSync::recordPrefix + key))
                return false;
        return true;
    }

    std::shared_ptr<UserDefaults> defaults;
    std::shared_ptr<SyncFolderStore> store;
    std::unique_ptr<PreferenceSync> sync;
    QHash<QString, int> calls;
};

const QString writerA = "AAAAAAAA-0000-4000-8000-000000000001";
const QString writerB = "FFFFFFFF-0000-4000-8000-000000000002";

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<MurvelPreferencesCore::PreferenceRecord> recordOf(const std::optional<QByteArray>& bytes) {
    if (!bytes)
        return std::nullopt;
    return MurvelPreferencesCore::PreferenceRecord::decoded(bytes->toStdString());
}

// Both machines and the folder hold `record` for the phone plan, within two rescans of each store.
::testing::AssertionResult settleOn(Machine& a, Machine& b, const QString& folder,
                                    const MurvelPreferencesCore::PreferenceRecord& record) {
    const QByteArray expected = QByteArray::fromStdString(*record.encoded());
    const auto settled = [&] {
        return recordOf(readFile(folder + '/' + Platform::syncFileName(planRecord))) == record &&
               recordOf(a.defaults->data(planRecord)) == record &&
               recordOf(b.defaults->data(planRecord)) == record && a.folderMatchesLocal() &&
               b.folderMatchesLocal();
    };
    for (int rescan = 1; rescan <= 2; ++rescan) {
        for (Machine* machine : {&a, &b}) {
            machine->store->synchronize();
            TestSupport::drainEvents();
        }
        if (settled())
            return ::testing::AssertionSuccess() << "after " << rescan << " rescans";
    }
    return ::testing::AssertionFailure()
           << "folder " << readFile(folder + '/' + Platform::syncFileName(planRecord)).toStdString() << ", a "
           << a.defaults->data(planRecord).value_or("none").toStdString() << ", b "
           << b.defaults->data(planRecord).value_or("none").toStdString() << ", expected "
           << expected.toStdString();
}

class FolderSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
        ASSERT_TRUE(QDir().mkpath(shared));
    }
    QTemporaryDir root;
    const QString shared = root.filePath("shared");
};

} // namespace

TEST_F(FolderSyncTest, TwoMachinesConvergeOnTheRulesWinnerAndOnlyTheLoserHears) {
    Machine a(root.filePath("a.ini"), shared, "AAAAAAAA-0000-4000-8000-000000000001");
    Machine b(root.filePath("b.ini"), shared, "FFFFFFFF-0000-4000-8000-000000000002");
    ASSERT_TRUE(a.store->identityToken().has_value());
    ASSERT_EQ(a.store->identityToken(), b.store->identityToken());
    for (Machine* machine : {&a, &b}) {
        machine->observe("enabled");
        machine->observe("phonePlan");
    }

    // Neither has seen the other's write yet. "enabled": one revision each, the greater writer (b)
    // wins. "phonePlan": a is a revision ahead and wins although its writer is the lesser.
    a.sync->set(false, "enabled");
    a.sync->set(std::string("spain"), "phonePlan");
    a.sync->set(std::string("mexico"), "phonePlan");
    b.sync->set(true, "enabled");
    b.sync->set(std::string("germany"), "phonePlan");

    ASSERT_TRUE(TestSupport::waitUntil([&] {
        a.store->synchronize();
        b.store->synchronize();
        return a.sync->value<bool>("enabled") == true && b.sync->value<bool>("enabled") == true &&
               a.sync->value<std::string>("phonePlan") == "mexico" &&
               b.sync->value<std::string>("phonePlan") == "mexico" && a.folderMatchesLocal() &&
               b.folderMatchesLocal();
    }));
    TestSupport::drainEvents();
    EXPECT_EQ(a.defaults->data(enabledRecord), b.defaults->data(enabledRecord));
    EXPECT_EQ(a.defaults->data(planRecord), b.defaults->data(planRecord));
    EXPECT_GE(a.calls.value("enabled"), 1);
    EXPECT_EQ(b.calls.value("enabled"), 0);
    EXPECT_EQ(a.calls.value("phonePlan"), 0);
    EXPECT_GE(b.calls.value("phonePlan"), 1);
    EXPECT_EQ(a.sync->issue(), std::nullopt);
    EXPECT_EQ(b.sync->issue(), std::nullopt);
}

TEST_F(FolderSyncTest, AccountFollowsTheFolder) {
    struct Expected {
        std::optional<PreferenceCloudIssue> issue;
        std::optional<bool> enabled;
        std::optional<std::string> plan;
    };
    const QString theirs = root.filePath("theirs");
    using Step = std::function<void(Machine&, const QString& own)>;
    const struct {
        const char* name;
        bool startsInOwnFolder; // else with no folder
        Step before;
        Step change;
        Expected afterChange;
        Expected afterRestart; // the next sync over the same stores, as the settings build it
    } cases[] = {
        {"no folder: local-only settings",
         false,
         [](Machine& m, auto&) { m.sync->set(false, "enabled"); },
         [](Machine&, auto&) {},
         {PreferenceCloudIssue::accountUnavailable, false, {}},
         {PreferenceCloudIssue::accountUnavailable, false, {}}},
        {"a folder appears: local settings are merged, not lost",
         false,
         [](Machine& m, auto&) { m.sync->set(false, "enabled"); },
         [&](Machine& m, auto&) { m.store->setFolder(theirs); },
         {std::nullopt, false, "portugal"},
         {std::nullopt, false, "portugal"}},
        {"first launch with a folder keeps local settings too",
         false,
         [&](Machine& m, auto&) {
             m.sync->set(false, "enabled");
             m.sync.reset();
             m.store->setFolder(theirs);
         },
         [](Machine& m, auto&) { m.startSync(); },
         {std::nullopt, false, "portugal"},
         {std::nullopt, false, "portugal"}},
        {"the same identity back",
         true,
         [](Machine& m, auto&) {
             m.sync->set(false, "enabled");
             m.store->setFolder(std::nullopt);
             TestSupport::drainEvents();
             m.sync->set(std::string("spain"), "phonePlan"); // written while away
         },
         [](Machine& m, const QString& own) { m.store->setFolder(own); },
         {std::nullopt, false, "spain"},
         {std::nullopt, false, "spain"}},
        {"another identity drops the other account's settings",
         true,
         [](Machine& m, auto&) { m.sync->set(false, "enabled"); },
         [&](Machine& m, auto&) { m.store->setFolder(theirs); },
         {PreferenceCloudIssue::accountChanged, {}, {}},
         {std::nullopt, {}, "portugal"}},
        {"the folder removed: settings stay local",
         true,
         [](Machine& m, auto&) { m.sync->set(false, "enabled"); },
         [](Machine& m, const QString& own) {
             QDir(own).removeRecursively();
             m.store->synchronize();
         },
         {PreferenceCloudIssue::accountUnavailable, false, {}},
         {PreferenceCloudIssue::accountUnavailable, false, {}}},
    };

    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString own = root.filePath(QString("own-%1").arg(++run));
        ASSERT_TRUE(QDir().mkpath(own));
        // Another machine's folder: its identity and a setting it wrote long ago.
        ASSERT_TRUE(QDir(theirs).removeRecursively() && QDir().mkpath(theirs));
        writeFile(theirs + '/' + Platform::syncIdentityFileName, "3C1D9F0E-7A52-4B8C-A1D4-5E6F70819203\n");
        writeFile(theirs + '/' + Platform::syncFileName(planRecord),
                  QByteArray::fromStdString(*MurvelPreferencesCore::PreferenceRecord(
                                                 3, "C0FFEE00-0000-4000-8000-000000000003", "\"portugal\"")
                                                 .encoded()));
        Machine machine(root.filePath(QString("case-%1.ini").arg(run)),
                        c.startsInOwnFolder ? std::optional<QString>(own) : std::nullopt);
        c.before(machine, own);
        TestSupport::drainEvents();
        c.change(machine, own);

        const auto check = [&](const Expected& expected) {
            ASSERT_TRUE(TestSupport::waitUntil([&] { return machine.sync->issue() == expected.issue; }));
            TestSupport::drainEvents();
            EXPECT_EQ(machine.sync->issue(), expected.issue);
            EXPECT_EQ(machine.sync->value<bool>("enabled"), expected.enabled);
            EXPECT_EQ(machine.sync->value<std::string>("phonePlan"), expected.plan);
            if (!expected.issue) {
                EXPECT_TRUE(machine.folderMatchesLocal());
            }
        };
        {
            SCOPED_TRACE("after the change");
            check(c.afterChange);
        }
        machine.startSync();
        {
            SCOPED_TRACE("after a restart");
            check(c.afterRestart);
        }
    }
}

TEST_F(FolderSyncTest, ASettingWrittenWhileTheFolderCannotTakeItReachesItLater) {
    using MurvelPreferencesCore::PreferenceRecord;
    int run = 0;
    for (const TestSupport::SyncFolderOutage& outage : TestSupport::syncFolderOutages()) {
        SCOPED_TRACE(outage.name);
        const QString folder = root.filePath(QString("folder-%1").arg(++run));
        ASSERT_TRUE(QDir().mkpath(folder));
        Machine a(root.filePath(QString("a-%1.ini").arg(run)), folder, writerA);
        Machine b(root.filePath(QString("b-%1.ini").arg(run)), folder, writerB);
        b.observe("phonePlan");
        b.sync->set(std::string("spain"), "phonePlan");
        ASSERT_TRUE(settleOn(a, b, folder, PreferenceRecord(1, writerB.toStdString(), "\"spain\"")));

        // No rescan runs between these steps: the folder is back within one debounce.
        outage.begin(folder, folder + '/' + Platform::syncFileName(planRecord));
        ASSERT_FALSE(HasFatalFailure());
        a.sync->set(std::string("mexico"), "phonePlan");
        if (!outage.folderStaysUsable) {
            EXPECT_FALSE(QFileInfo(folder).isDir()); // nothing made in the folder's place
        }
        outage.end(folder, folder + '/' + Platform::syncFileName(planRecord));
        ASSERT_FALSE(HasFatalFailure());

        EXPECT_EQ(a.sync->value<std::string>("phonePlan"), "mexico");
        EXPECT_TRUE(settleOn(a, b, folder, PreferenceRecord(2, writerA.toStdString(), "\"mexico\"")));
        EXPECT_EQ(b.sync->value<std::string>("phonePlan"), "mexico");
        EXPECT_GE(b.calls.value("phonePlan"), 1);
        EXPECT_EQ(a.sync->issue(), std::nullopt);
        EXPECT_EQ(b.sync->issue(), std::nullopt);
    }
}

TEST_F(FolderSyncTest, AnotherMachinesRecordWrittenDuringTheOutageWinsByTheRule) {
    using MurvelPreferencesCore::PreferenceRecord;
    const struct {
        const char* name;
        QStringList writtenByB; // while a's folder is away
        PreferenceRecord winner;
    } cases[] = {
        {"a newer revision", {"germany", "brazil"}, PreferenceRecord(3, writerB.toStdString(), "\"brazil\"")},
        {"the same revision, the greater writer",
         {"germany"},
         PreferenceRecord(2, writerB.toStdString(), "\"germany\"")},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // a sees the folder through its own mount point, which goes away while b's stays.
        const QString folder = root.filePath(QString("folder-%1").arg(++run));
        const QString mount = root.filePath(QString("a-mount-%1").arg(run));
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::link(folder, mount));
        Machine a(root.filePath(QString("a-%1.ini").arg(run)), mount, writerA);
        Machine b(root.filePath(QString("b-%1.ini").arg(run)), folder, writerB);
        a.observe("phonePlan");
        a.sync->set(std::string("spain"), "phonePlan");
        ASSERT_TRUE(settleOn(a, b, folder, PreferenceRecord(1, writerA.toStdString(), "\"spain\"")));

        ASSERT_TRUE(QFile::remove(mount));
        a.sync->set(std::string("mexico"), "phonePlan");
        EXPECT_FALSE(QFileInfo::exists(mount)); // nothing made in the mount point's place
        for (const QString& plan : c.writtenByB)
            b.sync->set(plan.toStdString(), "phonePlan");
        ASSERT_TRUE(QFile::link(folder, mount));

        EXPECT_TRUE(settleOn(a, b, folder, c.winner));
        EXPECT_EQ(a.sync->value<std::string>("phonePlan"), b.sync->value<std::string>("phonePlan"));
        EXPECT_GE(a.calls.value("phonePlan"), 1);
    }
}

TEST_F(FolderSyncTest, AFolderBackUnderAnotherIdentityTakesItsSettingsNotTheUnwrittenOne) {
    using MurvelPreferencesCore::PreferenceRecord;
    Machine machine(root.filePath("m.ini"), shared, writerA);
    machine.sync->set(std::string("spain"), "phonePlan");
    TestSupport::drainEvents();

    ASSERT_TRUE(QDir().rename(shared, root.filePath("away")));
    machine.sync->set(std::string("mexico"), "phonePlan"); // revision 2: it would beat theirs
    // Another account's folder arrives at the same place, with an older record of the key.
    ASSERT_TRUE(QDir().mkpath(shared));
    writeFile(shared + '/' + Platform::syncIdentityFileName, "3C1D9F0E-7A52-4B8C-A1D4-5E6F70819203\n");
    const QByteArray theirs =
        QByteArray::fromStdString(*PreferenceRecord(1, writerB.toStdString(), "\"portugal\"").encoded());
    writeFile(shared + '/' + Platform::syncFileName(planRecord), theirs);

    machine.store->synchronize();
    ASSERT_TRUE(TestSupport::waitUntil(
        [&] { return machine.sync->issue() == PreferenceCloudIssue::accountChanged; }));
    machine.startSync(); // as the settings do on an identity change
    TestSupport::drainEvents();
    machine.store->synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(machine.sync->issue(), std::nullopt);
    EXPECT_EQ(machine.sync->value<std::string>("phonePlan"), "portugal");
    EXPECT_EQ(readFile(shared + '/' + Platform::syncFileName(planRecord)), theirs);
    EXPECT_TRUE(machine.folderMatchesLocal());
}

TEST_F(FolderSyncTest, QuotaReportReachesTheSyncsIssue) {
    SyncFolderStore::Options small = quickly();
    small.quota.totalBytes = 150; // room for one record
    Machine machine(root.filePath("m.ini"), shared, {}, small);
    int issueChanges = 0;
    QObject::connect(machine.sync.get(), &PreferenceSync::issueChanged, [&] { ++issueChanges; });

    machine.sync->set(true, "enabled");
    machine.sync->set(std::string("brazil"), "phonePlan");
    ASSERT_TRUE(TestSupport::waitUntil([&] { return issueChanges == 1; }));
    EXPECT_EQ(machine.sync->issue(), PreferenceCloudIssue::quotaExceeded);
    EXPECT_TRUE(machine.store->data(enabledRecord).has_value());
    EXPECT_FALSE(machine.store->data(planRecord).has_value());
    EXPECT_EQ(machine.sync->value<std::string>("phonePlan"), "brazil"); // kept locally
}

// No folder chosen is a fresh install's state, not news: the missing account is said at debug
// level only; a chosen folder that is missing is said at info level.
TEST_F(FolderSyncTest, NoChosenFolderIsNoNews) {
    struct Case {
        const char* name;
        std::optional<QString> folder;
        QtMsgType level;
    };
    const Case cases[] = {{"none chosen", std::nullopt, QtDebugMsg},
                          {"chosen, missing", root.filePath("unmounted"), QtInfoMsg}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::LogCapture log;
        Machine machine(root.filePath(QString("%1.ini").arg(c.name)), c.folder);
        TestSupport::drainEvents();
        QList<QtMsgType> levels;
        for (const auto& message : log.messages)
            if (message.text.startsWith("sync issue: account unavailable"))
                levels.append(message.type);
        EXPECT_EQ(levels, QList<QtMsgType>{c.level});
    }
}
