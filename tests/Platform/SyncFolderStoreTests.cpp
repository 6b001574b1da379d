#include "Platform/SyncFolderFileNames.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/LogCapture.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/ScratchFileSystem.hpp"
#include "tests/support/SyncFolderOutages.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <utility>

using Platform::SyncFolderStore;
using Reason = Platform::SyncFolderStore::ChangeReason;
using namespace std::chrono_literals;

namespace {

// Run once right after the next rename in this process that works, with its target. Another
// machine's rename landing between our rename and our next look at the file is a race no schedule
// hits on purpose, so the test takes the place of the C library's rename to make it happen.
std::function<void(const char* to)> afterNextRename;

int realRename(const char* from, const char* to) {
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

} // namespace

extern "C" int rename(const char* from, const char* to) noexcept {
    const int result = realRename(from, to);
    if (result == 0 && afterNextRename)
        std::exchange(afterNextRename, nullptr)(to);
    return result;
}

namespace {

const QString enabledKey = "syncedPreference.v1.enabled";
const QString planKey = "syncedPreference.v1.phonePlan";
const QString shortcutKey = "syncedPreference.v1.shortcut";
const QByteArray otherIdentity = "7F0C2E1A-5B3D-4C6E-9F80-112233445566";
const QString syncFolderCategory = "works.murvel.dialcove.syncfolder";

struct Report {
    QStringList keys;
    Reason reason;
};

// Everything a store says, in order, while the listener lives (a store may outlive it).
struct Listener {
    explicit Listener(SyncFolderStore& store) {
        QObject::connect(&store, &SyncFolderStore::changedExternally, &context,
                         [this](const QStringList& keys, Reason reason) {
                             reports.push_back({keys, reason});
                         });
        QObject::connect(&store, &SyncFolderStore::identityChanged, &context, [this] { ++identityChanges; });
    }
    std::vector<Report> reports;
    int identityChanges = 0;
    QObject context;
};

class SyncFolderStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folder = root.filePath("sync");
        ASSERT_TRUE(QDir().mkpath(folder));
    }

    QString pathOf(const QString& key) const { return folder + '/' + Platform::syncFileName(key); }
    QString identityPath() const { return folder + '/' + Platform::syncIdentityFileName; }

    static SyncFolderStore::Options options(std::chrono::milliseconds debounce = 0ms) {
        SyncFolderStore::Options options;
        options.debounce = debounce;
        options.rescanInterval = 0ms;
        return options;
    }

    // Writes in place, as a sync tool that does not rename would, optionally dating the file.
    static void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified = {}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        // Flushed first: the buffered bytes reaching the file at close would set the time anew.
        ASSERT_TRUE(file.flush());
        if (modified.isValid()) {
            ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        }
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir root;
    QString folder;
};

} // namespace

TEST(SyncFolderFileNames, MapKeysToNamesOneToOne) {
    const struct {
        QString key;
        QString name;
    } cases[] = {
        {"syncedPreference.v1.enabled", "syncedPreference%2Ev1%2Eenabled.dckv"},
        {"plain-key_1", "plain-key_1.dckv"},
        {"a b/c%", "a%20b%2Fc%25.dckv"},
        {"caf\u00E9", "caf%C3%A9.dckv"},
        {".hidden", "%2Ehidden.dckv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Platform::syncFileName(c.key), c.name);
        EXPECT_EQ(Platform::syncKey(c.name), c.key) << c.name.toStdString();
    }
}

TEST(SyncFolderFileNames, OtherNamesAreNotKeys) {
    for (const char* name : {
             "syncedPreference%2Ev1%2Eenabled.sync-conflict-20240101-101010-ABCDEFG.dckv", // Syncthing
             "syncedPreference%2Ev1%2Eenabled (conflicted copy 2024-01-01).dckv", // Dropbox, Nextcloud
             "syncedPreference%2Ev1%2Eenabled.dckv.aBc123",                       // a save in progress
             ".syncthing.syncedPreference%2Ev1%2Eenabled.dckv.tmp",
             ".dckv",
             "dialcove-identity",
             "notes.txt",
             "a%2e.dckv", // lower-case hex
             "%41.dckv",  // an escape where the plain letter belongs
             "a%2.dckv",  // cut short
             "%C3.dckv",  // not UTF-8
             "a.b.dckv",  // a bare dot
             "name.DCKV",
         })
        EXPECT_FALSE(Platform::syncKey(name).has_value()) << name;
}

TEST_F(SyncFolderStoreTest, OwnWritesAreReadAtOnceAndNeverReportedBack) {
    SyncFolderStore store(folder, options());
    Listener listener(store);

    store.setData(enabledKey, "one");
    store.setData(planKey, "two");
    EXPECT_EQ(store.data(enabledKey), "one");
    EXPECT_EQ(readFile(pathOf(enabledKey)), "one");
    store.remove(planKey);
    EXPECT_FALSE(store.data(planKey).has_value());
    EXPECT_FALSE(QFile::exists(pathOf(planKey)));

    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_TRUE(listener.reports.empty());
    EXPECT_EQ(SyncFolderStore(folder, options()).data(enabledKey), "one");
}

TEST_F(SyncFolderStoreTest, ReportsWhatOthersAddedChangedAndRemovedInOneReport) {
    SyncFolderStore store(folder, options());
    store.setData(enabledKey, "old");
    store.setData(planKey, "gone soon");
    store.setData(shortcutKey, "same");
    Listener listener(store);

    SyncFolderStore other(folder, options());
    other.setData("added", "new");
    other.setData(enabledKey, "changed");
    other.remove(planKey);
    writeFile(pathOf(shortcutKey), "same"); // rewritten with the bytes it held

    store.synchronize();
    TestSupport::drainEvents();
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].keys, (QStringList{"added", enabledKey, planKey}));
    EXPECT_EQ(listener.reports[0].reason, Reason::serverChange);
    EXPECT_EQ(store.data("added"), "new");
    EXPECT_EQ(store.data(enabledKey), "changed");
    EXPECT_FALSE(store.data(planKey).has_value());
    EXPECT_EQ(listener.identityChanges, 0);
}

TEST_F(SyncFolderStoreTest, HalfWrittenFileIsTakenOnlyOnceItHoldsStill) {
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QDateTime now = start;
    SyncFolderStore::Options timing = options(1000ms);
    timing.clock = [&now] { return now; };
    SyncFolderStore store(folder, timing);
    store.setData(enabledKey, "before");
    Listener listener(store);

    writeFile(pathOf(enabledKey), "{\"vers", now); // the sync tool has begun
    store.synchronize();
    now = start.addMSecs(500);
    writeFile(pathOf(enabledKey), "{\"version\":1}", now); // and finished
    store.synchronize();
    now = start.addMSecs(1400); // not yet a whole debounce since the last change
    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(store.data(enabledKey), "before");
    EXPECT_TRUE(listener.reports.empty());

    now = start.addMSecs(1600);
    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(store.data(enabledKey), "{\"version\":1}");
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].keys, QStringList{enabledKey});

    // A file dated in the future (another machine's clock) is taken once it has been seen unchanged
    // for a debounce.
    writeFile(pathOf(planKey), "ahead", now.addSecs(3600));
    store.synchronize();
    now = now.addMSecs(999);
    store.synchronize();
    EXPECT_FALSE(store.data(planKey).has_value());
    now = now.addMSecs(1);
    store.synchronize();
    EXPECT_EQ(store.data(planKey), "ahead");
}

TEST_F(SyncFolderStoreTest, AnotherMachinesFileRenamedOverOursJustAfterOurWriteIsNoticed) {
    // Both records of one size, as records of a key mostly are: only the bytes tell them apart.
    SyncFolderStore store(folder, options());
    Listener listener(store);
    store.setData(enabledKey, "ours-1");
    TestSupport::drainEvents();

    const QString theirs = root.filePath("theirs");
    writeFile(theirs, "their-2");
    const QString path = pathOf(enabledKey);
    bool renamedOver = false;
    afterNextRename = [&](const char* to) {
        renamedOver =
            QFile::decodeName(to) == path && realRename(QFile::encodeName(theirs).constData(), to) == 0;
    };
    store.setData(enabledKey, "ours-2");
    afterNextRename = nullptr;
    ASSERT_TRUE(renamedOver) << "the write did not end in a rename onto the record";
    ASSERT_EQ(readFile(path), "their-2");
    EXPECT_EQ(store.data(enabledKey), "ours-2"); // until a rescan looks

    store.synchronize();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return store.data(enabledKey) == "their-2"; }));
    TestSupport::drainEvents();
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].keys, QStringList{enabledKey});
    EXPECT_EQ(listener.reports[0].reason, Reason::serverChange);
}

TEST_F(SyncFolderStoreTest, AFileDatedOnAWholeSecondCountsAsTouchedUntilTwoSecondsLater) {
    // Such a time may be all the file system keeps (FAT keeps even seconds): the file may have been
    // written a moment ago although its time says a second or more.
    const QDateTime second =
        QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - 3600, Qt::UTC);
    QDateTime now = second.addMSecs(1500);
    SyncFolderStore::Options timing = options(500ms);
    timing.clock = [&now] { return now; };
    SyncFolderStore store(folder, timing);
    store.setData(enabledKey, "before");

    writeFile(pathOf(enabledKey), "{\"vers", second);
    store.synchronize();
    EXPECT_EQ(store.data(enabledKey), "before");
    now = now.addMSecs(500); // seen unchanged for a debounce
    store.synchronize();
    EXPECT_EQ(store.data(enabledKey), "{\"vers");

    // A time with a fraction is taken at its word.
    writeFile(pathOf(enabledKey), "{\"version\":1}", second.addMSecs(1));
    store.synchronize();
    EXPECT_EQ(store.data(enabledKey), "{\"version\":1}");
}

TEST_F(SyncFolderStoreTest, OnWholeSecondTimesARewriteThatKeepsSizeTimesAndInodeIsStillNoticed) {
    // Within one second a rewrite of the same size keeps size, times and inode number alike, so
    // only the bytes tell; so does a file another machine renamed over ours just after our write.
    using TestSupport::ScratchFileSystem;
    QString whyNot;
    const std::unique_ptr<ScratchFileSystem> scratch =
        ScratchFileSystem::make(ScratchFileSystem::Kind::wholeSeconds, whyNot);
    if (!scratch)
        GTEST_SKIP() << "no file system with whole-second times on this machine: " << whyNot.toStdString();
    const auto statusOf = [](const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
        return std::tuple(status.st_size, status.st_mtim.tv_sec, status.st_ctim.tv_sec, status.st_ino);
    };
    const struct {
        const char* name;
        bool ownWrite; // else another machine's record, read at a rescan
    } cases[] = {{"after our own write", true}, {"after reading another machine's record", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = scratch->path() + '/' + (c.ownWrite ? "own" : "theirs");
        ASSERT_TRUE(QDir().mkpath(folder));
        SyncFolderStore store(folder, options());
        Listener listener(store);
        const QString path = folder + '/' + Platform::syncFileName(enabledKey);

        // Both writes within one second; a second that ends between them is tried again.
        bool sameStatus = false;
        for (int attempt = 0; attempt < 3 && !sameStatus; ++attempt) {
            while (QDateTime::currentMSecsSinceEpoch() % 1000 > 300)
                std::this_thread::sleep_for(10ms);
            if (c.ownWrite) {
                store.setData(enabledKey, "value-1");
            } else {
                QFile::remove(path);
                writeFile(path, "value-1");
                store.synchronize();
                ASSERT_TRUE(TestSupport::waitUntil([&] { return store.data(enabledKey) == "value-1"; }));
            }
            TestSupport::drainEvents();
            listener.reports.clear();
            const auto before = statusOf(path);
            writeFile(path, "value-2"); // in place, as some sync tools write
            sameStatus = statusOf(path) == before;
        }
        ASSERT_TRUE(sameStatus) << "the rewrite always fell in another second";

        store.synchronize();
        EXPECT_TRUE(TestSupport::waitUntil([&] { return store.data(enabledKey) == "value-2"; }));
        TestSupport::drainEvents();
        ASSERT_EQ(listener.reports.size(), 1u);
        EXPECT_EQ(listener.reports[0].keys, QStringList{enabledKey});
    }
}

TEST_F(SyncFolderStoreTest, ForeignAndUnusableFilesChangeNothingAndStayInPlace) {
    SyncFolderStore::Options small = options();
    small.quota.totalBytes = 64;
    SyncFolderStore store(folder, small);
    store.setData(enabledKey, "mine");
    const std::optional<QByteArray> identity = store.identityToken();
    ASSERT_TRUE(identity.has_value());
    Listener listener(store);

    const QStringList foreign = {
        Platform::syncFileName(enabledKey) + ".aBc123",
        "syncedPreference%2Ev1%2Eenabled.sync-conflict-20240101-101010-ABCDEFG.dckv",
        "syncedPreference%2Ev1%2Eenabled (conflicted copy).dckv",
        ".syncthing.tmp",
        "notes.txt",
        "dialcove-identity.sync-conflict-20240101-101010-ABCDEFG",
        Platform::syncFileName("huge"), // larger than any record could be
    };
    for (const QString& name : foreign)
        writeFile(folder + '/' + name, name == Platform::syncFileName("huge") ? QByteArray(65, 'x') : "junk");
    ASSERT_TRUE(QDir(folder).mkdir(Platform::syncFileName("directory")));

    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_TRUE(listener.reports.empty());
    EXPECT_EQ(listener.identityChanges, 0);
    EXPECT_EQ(store.data(enabledKey), "mine");
    EXPECT_FALSE(store.data("huge").has_value());
    EXPECT_FALSE(store.data("directory").has_value());
    EXPECT_EQ(store.identityToken(), identity);
    for (const QString& name : foreign)
        EXPECT_TRUE(QFile::exists(folder + '/' + name)) << name.toStdString();
}

TEST_F(SyncFolderStoreTest, AWriteReplacesALinkInTheRecordsPlaceAndLeavesItsTargetAlone) {
    // A sync tool carries links as links: one in a record's place may point anywhere.
    const QString outside = root.filePath("outside.txt");
    writeFile(outside, "precious");
    ASSERT_TRUE(QFile::link(outside, pathOf(enabledKey)));
    SyncFolderStore store(folder, options());
    EXPECT_FALSE(store.data(enabledKey).has_value());

    store.setData(enabledKey, "mine");
    EXPECT_EQ(readFile(outside), "precious");
    EXPECT_FALSE(QFileInfo(pathOf(enabledKey)).isSymLink());
    EXPECT_EQ(readFile(pathOf(enabledKey)), "mine");
    EXPECT_EQ(SyncFolderStore(folder, options()).data(enabledKey), "mine");
}

TEST_F(SyncFolderStoreTest, QuotaRefusesWritesOverItAndReportsThem) {
    SyncFolderStore::Options tiny = options();
    tiny.quota = {30, 2}; // key bytes and value bytes together
    SyncFolderStore store(folder, tiny);
    Listener listener(store);

    store.setData("a", QByteArray(10, 'a')); // 11 bytes
    store.setData("b", QByteArray(18, 'b')); // 30 in all: at the limit
    store.setData("c", "");                  // a third key
    store.setData("a", QByteArray(12, 'a')); // 32 in all
    TestSupport::drainEvents();

    EXPECT_FALSE(store.data("c").has_value());
    EXPECT_FALSE(QFile::exists(pathOf("c")));
    EXPECT_EQ(store.data("a"), QByteArray(10, 'a'));
    EXPECT_EQ(readFile(pathOf("a")), QByteArray(10, 'a'));
    ASSERT_EQ(listener.reports.size(), 2u);
    EXPECT_EQ(listener.reports[0].keys, QStringList{"c"});
    EXPECT_EQ(listener.reports[0].reason, Reason::quotaViolation);
    EXPECT_EQ(listener.reports[1].keys, QStringList{"a"});

    store.remove("b");
    store.setData("c", "x");
    EXPECT_EQ(store.data("c"), "x");
}

TEST_F(SyncFolderStoreTest, IdentityFollowsTheFolderRules) {
    const QByteArray record = "{}";
    const struct {
        const char* name;
        std::function<void(const QString& folder)> prepare;
        bool hasAccount;
        bool identityFileAfter;
    } cases[] = {
        {"missing folder", [](const QString& f) { QDir(f).removeRecursively(); }, false, false},
        {"empty folder starts an identity", [](const QString&) {}, true, true},
        {"foreign files only start one too", [](const QString& f) { writeFile(f + "/notes.txt", "x"); }, true,
         true},
        {"records without identity wait for it",
         [&](const QString& f) { writeFile(f + '/' + Platform::syncFileName(enabledKey), record); }, false,
         false},
        {"a record still arriving waits too",
         [&](const QString& f) {
             writeFile(f + '/' + Platform::syncFileName(enabledKey), record, QDateTime::currentDateTimeUtc());
         },
         false, false},
        {"identity of another machine",
         [](const QString& f) { writeFile(f + '/' + Platform::syncIdentityFileName, otherIdentity + "\n"); },
         true, true},
        {"unreadable identity",
         [](const QString& f) { writeFile(f + '/' + Platform::syncIdentityFileName, "not an identity"); },
         false, true},
        {"half-synced identity",
         [](const QString& f) {
             writeFile(f + '/' + Platform::syncIdentityFileName, otherIdentity.left(20));
         },
         false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        c.prepare(folder);
        const QByteArray identityBefore = readFile(identityPath());

        SyncFolderStore::Options timing = options(1000ms);
        SyncFolderStore store(folder, timing);
        EXPECT_EQ(store.identityToken().has_value(), c.hasAccount);
        EXPECT_EQ(QFile::exists(identityPath()), c.identityFileAfter);
        if (!identityBefore.isEmpty()) {
            EXPECT_EQ(readFile(identityPath()), identityBefore); // never replaced
        }
        if (store.identityToken()) {
            EXPECT_EQ(*store.identityToken(), readFile(identityPath()).trimmed().toUpper());
        }
    }
    EXPECT_FALSE(SyncFolderStore(std::nullopt, options()).identityToken().has_value());
}

TEST_F(SyncFolderStoreTest, APipeInTheIdentitysPlaceIsNoIdentityAndNothingWaitsOnIt) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(identityPath()).constData(), 0600), 0);
    SyncFolderStore store(folder, options());
    EXPECT_FALSE(store.identityToken().has_value());
    EXPECT_TRUE(QFileInfo(identityPath()).exists());
}

TEST_F(SyncFolderStoreTest, IdentityThatArrivesLaterIsAnAccountChange) {
    writeFile(pathOf(enabledKey), "record");
    SyncFolderStore store(folder, options());
    ASSERT_FALSE(store.identityToken().has_value());
    EXPECT_EQ(store.data(enabledKey), "record");
    Listener listener(store);

    writeFile(identityPath(), otherIdentity.toLower() + "\n");
    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(store.identityToken(), otherIdentity);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].reason, Reason::accountChange);
    EXPECT_TRUE(listener.reports[0].keys.isEmpty());
    EXPECT_EQ(listener.identityChanges, 1);
}

TEST_F(SyncFolderStoreTest, AnotherFolderOrNoneIsAnAccountChange) {
    SyncFolderStore store(folder, options());
    store.setData(enabledKey, "here");
    const std::optional<QByteArray> first = store.identityToken();
    ASSERT_TRUE(first.has_value());

    const QString elsewhere = root.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    writeFile(elsewhere + '/' + Platform::syncIdentityFileName, otherIdentity);
    writeFile(elsewhere + '/' + Platform::syncFileName(enabledKey), "there");
    writeFile(elsewhere + '/' + Platform::syncFileName(planKey), "plan");
    Listener listener(store);

    store.setFolder(elsewhere);
    TestSupport::drainEvents();
    EXPECT_EQ(store.identityToken(), otherIdentity);
    EXPECT_EQ(store.data(enabledKey), "there");
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].keys, (QStringList{enabledKey, planKey}));
    EXPECT_EQ(listener.reports[0].reason, Reason::accountChange);

    store.setFolder(folder);
    TestSupport::drainEvents();
    EXPECT_EQ(store.identityToken(), first); // the same folder is the same account again
    EXPECT_EQ(store.data(enabledKey), "here");

    ASSERT_TRUE(QDir(folder).removeRecursively()); // unmounted
    store.synchronize();
    store.setData(planKey, "nowhere to go");
    TestSupport::drainEvents();
    EXPECT_FALSE(store.identityToken().has_value());
    EXPECT_FALSE(store.data(enabledKey).has_value());
    EXPECT_FALSE(QDir(folder).exists()); // a missing mount point is never created
    EXPECT_EQ(listener.identityChanges, 3);
    EXPECT_EQ(listener.reports.back().reason, Reason::accountChange);
}

TEST_F(SyncFolderStoreTest, AValueTheFolderCouldNotTakeIsReportedOnceItCanTakeIt) {
    for (const TestSupport::SyncFolderOutage& outage : TestSupport::syncFolderOutages()) {
        SCOPED_TRACE(outage.name);
        ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().mkpath(folder));
        SyncFolderStore store(folder, options());
        store.setData(enabledKey, "old");
        store.setData(planKey, "plan");
        const std::optional<QByteArray> identity = store.identityToken();
        Listener listener(store);
        TestSupport::LogCapture log;

        outage.begin(folder, pathOf(enabledKey));
        ASSERT_FALSE(HasFatalFailure());
        const QFileInfo during(folder);
        store.setData(enabledKey, "new");
        store.setData(enabledKey, "newer"); // the same outage: one warning
        EXPECT_EQ(store.data(enabledKey), "old");
        if (!outage.folderStaysUsable) {
            // Nothing is created where the folder should be.
            EXPECT_EQ(QFileInfo(folder).exists(), during.exists());
            EXPECT_FALSE(QFileInfo(folder).isDir());
        }
        EXPECT_EQ(log.of(syncFolderCategory, QtWarningMsg).size(), 1);
        outage.end(folder, pathOf(enabledKey));
        ASSERT_FALSE(HasFatalFailure());

        store.synchronize();
        TestSupport::drainEvents();
        // Reported, not written: the caller merges it against what the folder holds now.
        ASSERT_EQ(listener.reports.size(), 1u);
        EXPECT_EQ(listener.reports[0].keys, QStringList{enabledKey});
        EXPECT_EQ(listener.reports[0].reason, Reason::serverChange);
        EXPECT_EQ(listener.identityChanges, 0);
        EXPECT_EQ(store.identityToken(), identity);
        EXPECT_EQ(store.data(enabledKey), "old");
        EXPECT_EQ(readFile(pathOf(enabledKey)), "old");

        store.synchronize(); // reported once
        TestSupport::drainEvents();
        EXPECT_EQ(listener.reports.size(), 1u);
        store.setData(enabledKey, "new");
        EXPECT_EQ(readFile(pathOf(enabledKey)), "new");
    }
}

TEST_F(SyncFolderStoreTest, AFolderBackUnderAnotherIdentityForgetsWhatItCouldNotTake) {
    SyncFolderStore store(folder, options());
    store.setData(enabledKey, "mine");
    Listener listener(store);

    ASSERT_TRUE(QDir().rename(folder, root.filePath("away")));
    store.setData(planKey, "unwritten"); // a key the folder has never held
    store.synchronize();                 // the outage seen: no account
    TestSupport::drainEvents();
    EXPECT_FALSE(store.identityToken().has_value());

    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(identityPath(), otherIdentity);
    writeFile(pathOf(enabledKey), "theirs");
    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(store.identityToken(), otherIdentity);
    ASSERT_FALSE(listener.reports.empty());
    EXPECT_EQ(listener.reports.back().reason, Reason::accountChange);
    EXPECT_EQ(listener.reports.back().keys, QStringList{enabledKey});
    EXPECT_FALSE(QFile::exists(pathOf(planKey)));

    // Forgotten, not just held back: the first folder's return does not bring the key either.
    ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().rename(root.filePath("away"), folder));
    store.synchronize();
    TestSupport::drainEvents();
    EXPECT_EQ(listener.reports.back().reason, Reason::accountChange);
    EXPECT_EQ(listener.reports.back().keys, QStringList{enabledKey});
    EXPECT_FALSE(store.data(planKey).has_value());
}

TEST_F(SyncFolderStoreTest, AWriteThatKeepsFailingIsRetriedWhenAskedAndWarnedOncePerOutage) {
    SyncFolderStore store(folder, options());
    store.setData(enabledKey, "old");
    Listener listener(store);
    TestSupport::LogCapture log;
    const auto warnings = [&] { return log.of(syncFolderCategory, QtWarningMsg).size(); };

    ASSERT_TRUE(QFile::remove(pathOf(enabledKey)) && QDir().mkdir(pathOf(enabledKey)));
    store.setData(enabledKey, "new");
    for (int retry = 0; retry < 3; ++retry) {
        store.synchronize();
        TestSupport::drainEvents();
        ASSERT_FALSE(listener.reports.empty());
        EXPECT_TRUE(listener.reports.back().keys.contains(enabledKey));
        listener.reports.clear();
        store.setData(enabledKey, "new"); // what the caller's merge does with the report
    }
    EXPECT_EQ(warnings(), 1);

    ASSERT_TRUE(QDir().rmdir(pathOf(enabledKey)));
    store.synchronize();
    TestSupport::drainEvents();
    store.setData(enabledKey, "new");
    EXPECT_EQ(readFile(pathOf(enabledKey)), "new");

    // Over: the next outage is told again.
    ASSERT_TRUE(QFile::remove(pathOf(enabledKey)) && QDir().mkdir(pathOf(enabledKey)));
    store.setData(enabledKey, "newer");
    EXPECT_EQ(warnings(), 2);
}

TEST_F(SyncFolderStoreTest, FileWatcherFindsChangesWithoutBeingAsked) {
    SyncFolderStore::Options watched = options(20ms);
    SyncFolderStore store(folder, watched);
    store.setData(enabledKey, "mine");
    Listener listener(store);

    SyncFolderStore other(folder, options());
    other.setData(planKey, "theirs"); // a new file: the folder's watch sees it
    ASSERT_TRUE(TestSupport::waitUntil([&] { return store.data(planKey) == "theirs"; }));

    writeFile(pathOf(enabledKey), "rewritten in place"); // only the file's own watch sees this
    ASSERT_TRUE(TestSupport::waitUntil([&] { return store.data(enabledKey) == "rewritten in place"; }));
    TestSupport::drainEvents();
    ASSERT_GE(listener.reports.size(), 2u);
    EXPECT_EQ(listener.reports.front().keys, QStringList{planKey});
    EXPECT_EQ(listener.reports.back().keys, QStringList{enabledKey});
}

TEST_F(SyncFolderStoreTest, PeriodicRescanFindsAFolderThatIsMountedLater) {
    ASSERT_TRUE(QDir(folder).removeRecursively());
    SyncFolderStore::Options periodic = options();
    periodic.rescanInterval = 20ms;
    SyncFolderStore store(folder, periodic);
    Listener listener(store);
    ASSERT_FALSE(store.identityToken().has_value());

    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(identityPath(), otherIdentity);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return listener.identityChanges == 1; }));
    EXPECT_EQ(store.identityToken(), otherIdentity);
}

TEST_F(SyncFolderStoreTest, FolderIsChosenInThePlatformSettingsAndNoneByDefault) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
    EXPECT_EQ(SyncFolderStore::settingsPath(), root.filePath("config") + "/dialcove/platform.ini");
    EXPECT_FALSE(SyncFolderStore::configuredFolder().has_value());
    const std::shared_ptr<SyncFolderStore> store = SyncFolderStore::standard();
    EXPECT_FALSE(store->identityToken().has_value());
    Listener listener(*store);

    SyncFolderStore::setConfiguredFolder(folder);
    EXPECT_EQ(SyncFolderStore::configuredFolder(), folder);
    EXPECT_EQ(store->folder(), folder);
    EXPECT_TRUE(store->identityToken().has_value());
    TestSupport::drainEvents();
    EXPECT_EQ(listener.identityChanges, 1);

    SyncFolderStore::setConfiguredFolder(std::nullopt);
    EXPECT_FALSE(SyncFolderStore::configuredFolder().has_value());
    EXPECT_FALSE(store->identityToken().has_value());
}
