#include "AddressBookFixture.hpp"
#include "Platform/Contacts/AddressBookWatcher.hpp"

#include <QSignalSpy>
#include <QThread>
#include <functional>
#include <gmock/gmock.h>
#include <sys/stat.h>

using namespace Platform;
using namespace std::chrono_literals;

namespace {

constexpr int kTimeout = 5000;

} // namespace

class AddressBookWatcherTest : public AddressBookFixture {
protected:
    // Waits (bounded) for the next notification and says how many arrived together.
    static qsizetype nextChange(QSignalSpy& spy) {
        spy.clear();
        if (!spy.wait(kTimeout))
            return 0;
        return spy.count();
    }
};

TEST_F(AddressBookWatcherTest, ABurstOfWritesGivesOneNotificationOnTheMainThread) {
    write("a.vcf", card("FN:A\r\n"));
    AddressBookWatcher watcher(settings(), 50ms);
    QThread* deliveredOn = nullptr;
    QObject::connect(&watcher, &AddressBookWatcher::changed, [&] { deliveredOn = QThread::currentThread(); });
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);

    for (int i = 0; i < 20; ++i)
        write(QString("new%1.vcf").arg(i), card("FN:New\r\n"));
    EXPECT_EQ(nextChange(spy), 1);
    EXPECT_EQ(deliveredOn, QThread::currentThread());
}

TEST_F(AddressBookWatcherTest, SeesEditsInsideFilesAndNewCollections) {
    write("a.vcf", card("FN:A\r\n"));
    AddressBookWatcher watcher(settings(), 20ms);
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);

    // An edit in place changes no folder listing: only the file's own watch sees it.
    write("a.vcf", card("FN:A edited\r\n"));
    EXPECT_EQ(nextChange(spy), 1);

    ASSERT_TRUE(QDir(folder_).mkdir("work"));
    EXPECT_EQ(nextChange(spy), 1);
    write("work/b.vcf", card("FN:B\r\n"));
    EXPECT_EQ(nextChange(spy), 1);
    write("work/b.vcf", card("FN:B edited\r\n"));
    EXPECT_EQ(nextChange(spy), 1);
    ASSERT_TRUE(QFile::remove(QDir(folder_).filePath("work/b.vcf")));
    EXPECT_EQ(nextChange(spy), 1);
}

TEST_F(AddressBookWatcherTest, SeesTheFolderAppearAndFollowsANewFolder) {
    const QString later = home_.filePath("later");
    settings().setFolder(later);
    AddressBookWatcher watcher(settings(), 20ms);
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);

    ASSERT_TRUE(QDir().mkpath(later));
    EXPECT_EQ(nextChange(spy), 1);
    // Once there, the folder itself is watched.
    folder_ = later;
    write("c.vcf", card("FN:C\r\n"));
    EXPECT_EQ(nextChange(spy), 1);

    // Pointing the settings elsewhere is itself a change of the store.
    const QString other = home_.filePath("other");
    ASSERT_TRUE(QDir().mkpath(other));
    settings().setFolder(other);
    watcher.retarget();
    EXPECT_EQ(nextChange(spy), 1);
    folder_ = other;
    write("d.vcf", card("FN:D\r\n"));
    EXPECT_EQ(nextChange(spy), 1);
}

TEST_F(AddressBookWatcherTest, FollowsAFolderMovedAwayAndOneMadeInItsPlace) {
    write("a.vcf", card("FN:A\r\n"));
    AddressBookWatcher watcher(settings(), 20ms);
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);

    // Moved away, as a file manager's trash or a sync tool's swap does: the cards are gone.
    const QString moved = home_.filePath("moved");
    ASSERT_TRUE(QDir().rename(folder_, moved));
    EXPECT_EQ(nextChange(spy), 1);
    // A new folder in its place is the one watched, not the one moved away.
    ASSERT_TRUE(QDir().mkpath(folder_));
    EXPECT_EQ(nextChange(spy), 1);
    write("b.vcf", card("FN:B\r\n"));
    EXPECT_EQ(nextChange(spy), 1);
    spy.clear();
    ASSERT_TRUE(QFile::remove(moved + "/a.vcf"));
    EXPECT_FALSE(spy.wait(300)) << "the folder moved away is no longer watched";

    // Elsewhere beside the folder, nothing concerns the cards.
    spy.clear();
    ASSERT_TRUE(QDir().mkpath(home_.filePath("unrelated")));
    EXPECT_FALSE(spy.wait(300));
}

TEST_F(AddressBookWatcherTest, WatchesFoldersNotFiles) {
    for (int i = 0; i < 300; ++i)
        write(QString("%1/card%2.vcf").arg(i % 2 ? "work" : "home").arg(i), card("FN:Card\r\n"));
    write(".hidden/ignored.vcf", card("FN:Hidden\r\n"));
    AddressBookWatcher watcher(settings(), 20ms);
    // The parent, the folder and its two collections, however many cards they hold.
    EXPECT_EQ(watcher.watchCount(), 4u);
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);
    ASSERT_TRUE(QDir(folder_).mkdir("more"));
    EXPECT_EQ(nextChange(spy), 1);
    EXPECT_EQ(watcher.watchCount(), 5u);
    ASSERT_TRUE(QDir(QDir(folder_).filePath("more")).removeRecursively());
    EXPECT_EQ(nextChange(spy), 1);
    EXPECT_EQ(watcher.watchCount(), 4u);

    // What is not a card file, or is hidden, does not concern the book.
    spy.clear();
    write("notes.txt", "text");
    write("work/.partial.vcf", card("FN:Being written\r\n"));
    write(".hidden/ignored.vcf", card("FN:Still hidden\r\n"));
    EXPECT_FALSE(spy.wait(300));
}

// The readings learn from the journal which files changed, and that they must look at everything
// when the watcher lost track.
TEST_F(AddressBookWatcherTest, TellsTheBookWhichFilesChanged) {
    write("a.vcf", card("FN:A\r\n"));
    write("work/b.vcf", card("FN:B\r\n"));
    const AddressBook watched = book();
    const std::string root = QFile::encodeName(folder_).toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(root.c_str(), &info), 0);
    const AddressBookJournal::FolderIdentity identity(info.st_dev, info.st_ino);
    const auto journal = watched.journal();
    // Long enough that each change below, made of several, comes as one.
    AddressBookWatcher watcher(watched, 200ms);
    QSignalSpy spy(&watcher, &AddressBookWatcher::changed);
    EXPECT_FALSE(journal->take(root, identity).complete) << "nothing is known of the time before";

    const auto changedBy = [&](const std::function<void()>& change) {
        change();
        EXPECT_EQ(nextChange(spy), 1);
        return journal->take(root, identity);
    };
    const auto named = changedBy([&] {
        write("work/b.vcf", card("FN:B edited\r\n"));
        write("c.vcf", card("FN:C\r\n"));
        ASSERT_TRUE(QFile::rename(QDir(folder_).filePath("a.vcf"), QDir(folder_).filePath("work/a.vcf")));
    });
    EXPECT_TRUE(named.complete);
    EXPECT_THAT(named.paths, ::testing::ElementsAre("a.vcf", "c.vcf", "work/a.vcf", "work/b.vcf"));
    EXPECT_FALSE(changedBy([&] { ASSERT_TRUE(QDir(folder_).mkdir("new")); }).complete)
        << "a new collection is read whole";
    EXPECT_TRUE(changedBy([&] { write("new/d.vcf", card("FN:D\r\n")); }).complete)
        << "and watched from then on";
    EXPECT_FALSE(journal->take(QFile::encodeName(home_.filePath("other")).toStdString(), identity).complete)
        << "another folder";
}
