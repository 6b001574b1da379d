// A book read again reuses what it read of files that did not change: each kind of change must
// give exactly what a fresh reading of the folder gives.
#include "AddressBookFixture.hpp"
#include "Platform/Contacts/AddressBookJournal.hpp"
#include "Platform/Contacts/AddressBookWatcher.hpp"
#include "Platform/Contacts/CardFile.hpp"
#include "tests/support/LogCapture.hpp"

#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <fcntl.h>
#include <functional>
#include <gmock/gmock.h>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Platform;
using namespace std::chrono_literals;
using DialcoveCore::Contact;

namespace {

const QString kCategory = QStringLiteral("works.murvel.dialcove.addressbook");

std::vector<Contact> everyone(
    const AddressBook& book, const std::function<bool()>& poll = [] { return false; }) {
    auto contacts = book.readContacts(poll);
    EXPECT_TRUE(contacts);
    return contacts ? std::move(*contacts) : std::vector<Contact>();
}

std::vector<std::string> names(const std::vector<Contact>& contacts) {
    std::vector<std::string> out;
    for (const auto& contact : contacts)
        out.push_back(contact.displayName() + " (" + contact.id().rawValue + ")");
    return out;
}

QStringList warnings(const TestSupport::LogCapture& log) {
    QStringList out;
    for (const auto& message : log.of(kCategory, QtWarningMsg))
        out << message.text;
    return out;
}

} // namespace

class AddressBookReuseTest : public AddressBookFixture {
protected:
    QString path(const QString& relative) const { return QDir(folder_).filePath(relative); }
    QByteArray encoded(const QString& relative) const { return QFile::encodeName(path(relative)); }

    // Two collections, a card without a UID and a card that repeats another's UID.
    void writeBook() const {
        write("a.vcf", card("UID:a\r\nFN:Ana Lima\r\nN:Lima;Ana;;;\r\nTEL:+1 555 0100\r\n"));
        write("b.vcf", card("FN:Bruno Reis\r\nN:Reis;Bruno;;;\r\n"));
        write("work/c.vcf", card("UID:c\r\nFN:Carla Dias\r\nEMAIL:carla@example.com\r\n"));
        write("work/dup.vcf", card("UID:a\r\nFN:Second Ana\r\n"));
        write("home/d.vcf", card("FN:Dora Melo\r\n") + card("UID:e\r\nFN:Eva Nunes\r\n"));
    }
};

// Each change, on a book read once before it, both as a reading lists the folder and as the
// watcher's journal names the files (the way the app reads).
TEST_F(AddressBookReuseTest, ReusedContactsEqualAFreshReadAfterEachKindOfChange) {
    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    const std::vector<Change> changes{
        {"added", [&] { write("work/f.vcf", card("UID:f\r\nFN:Fabio Reis\r\n")); }},
        {"edited with the same size and modification time",
         [&] {
             struct stat before {};
             ASSERT_EQ(::stat(encoded("a.vcf").constData(), &before), 0);
             write("a.vcf", card("UID:a\r\nFN:Ana Lins\r\nN:Lins;Ana;;;\r\nTEL:+1 555 0199\r\n"));
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, encoded("a.vcf").constData(), times, 0), 0);
         }},
        {"deleted, so the repeated UID wins", [&] { ASSERT_TRUE(QFile::remove(path("a.vcf"))); }},
        {"renamed", [&] { ASSERT_TRUE(QFile::rename(path("b.vcf"), path("bb.vcf"))); }},
        {"moved between sub-folders",
         [&] { ASSERT_TRUE(QFile::rename(path("home/d.vcf"), path("work/d.vcf"))); }},
        {"replaced by a folder",
         [&] {
             ASSERT_TRUE(QFile::remove(path("a.vcf")));
             ASSERT_TRUE(QDir().mkpath(path("a.vcf")));
         }},
        {"replaced by a FIFO",
         [&] {
             ASSERT_TRUE(QFile::remove(path("b.vcf")));
             ASSERT_EQ(::mkfifo(encoded("b.vcf").constData(), 0600), 0);
         }},
        {"sub-folder added", [&] { write("later/g.vcf", card("UID:g\r\nFN:Gil Rocha\r\n")); }},
        {"sub-folder removed", [&] { ASSERT_TRUE(QDir(path("home")).removeRecursively()); }},
        {"folder replaced",
         [&] {
             ASSERT_TRUE(QDir().rename(folder_, folder_ + "-old"));
             write("a.vcf", card("UID:z\r\nFN:Zoe Novo\r\n"));
         }},
    };
    for (const bool watched : {false, true}) {
        for (const Change& change : changes) {
            SCOPED_TRACE(std::string(change.name) + (watched ? ", watched" : ", listed"));
            QDir(folder_).removeRecursively();
            QDir(folder_ + "-old").removeRecursively();
            writeBook();
            const AddressBook reused = book();
            std::optional<AddressBookWatcher> watcher;
            if (watched)
                watcher.emplace(reused, 10ms);
            const auto before = everyone(reused);
            ASSERT_EQ(before.size(), 5u);

            std::optional<QSignalSpy> spy;
            if (watcher)
                spy.emplace(&*watcher, &AddressBookWatcher::changed);
            change.apply();
            if (spy) {
                ASSERT_TRUE(spy->wait(5000)) << "the watcher saw the change";
                while (spy->wait(100)) {
                }
            }
            const auto fresh = everyone(book());
            EXPECT_NE(names(fresh), names(before)) << "the change shows";
            EXPECT_EQ(everyone(reused), fresh);
            EXPECT_EQ(everyone(reused), fresh) << "and again, with nothing changed";
        }
    }
}

TEST_F(AddressBookReuseTest, ACardChangedWhileItIsReadIsReadAgainNextTime) {
    write("a.vcf", card("UID:a\r\nFN:Ana Lima\r\n") + card("UID:b\r\nFN:Bruno Reis\r\n"));
    const AddressBook reused = book();
    int polls = 0;
    // Polled before the file and after each card: after the first card, the file is rewritten
    // under the reading.
    const auto during = everyone(reused, [&] {
        if (++polls == 2)
            write("a.vcf", card("UID:a\r\nFN:Ana Lins\r\n"));
        return false;
    });
    EXPECT_THAT(names(during), ::testing::ElementsAre("Ana Lima (a)", "Bruno Reis (b)"))
        << "what was read when it was opened";
    EXPECT_EQ(everyone(reused), everyone(book()));
    EXPECT_THAT(names(everyone(reused)), ::testing::ElementsAre("Ana Lins (a)"));
}

// A file changed too lately for its clock to vouch for it is read again at each reading; found
// as it was, the book it is part of is handed back as it stands (so the search index is kept),
// both as a reading lists the folder and as the watcher's journal names the files.
TEST_F(AddressBookReuseTest, AFileReadAgainAndFoundAsItWasKeepsTheBook) {
    for (const bool watched : {false, true}) {
        SCOPED_TRACE(watched ? "watched" : "listed");
        QDir(folder_).removeRecursively();
        writeBook();
        const AddressBook reused = book();
        std::optional<AddressBookWatcher> watcher;
        if (watched)
            watcher.emplace(reused, 10ms);
        const auto first = reused.read([] { return false; });
        ASSERT_TRUE(first);
        const auto again = reused.read([] { return false; });
        EXPECT_EQ(again, first) << "the same book";

        std::optional<QSignalSpy> spy;
        if (watcher)
            spy.emplace(&*watcher, &AddressBookWatcher::changed);
        write("work/c.vcf", card("UID:c\r\nFN:Carla Dias\r\nEMAIL:carla@example.org\r\n"));
        if (spy) {
            ASSERT_TRUE(spy->wait(5000));
        }
        const auto changed = reused.read([] { return false; });
        EXPECT_NE(changed, again) << "new bytes, a new book";
        EXPECT_EQ(everyone(reused), everyone(book()));
    }
}

// A card's problems are logged once per change of its file, not at every reading.
TEST_F(AddressBookReuseTest, ProblemsAreLoggedOncePerChangeOfTheFile) {
    write("bad.vcf", card("FN:Bad\r\nnot a property\r\n") + "BEGIN:VCARD\r\nFN:Unended\r\n");
    write("good.vcf", card("FN:Good\r\n"));
    const AddressBook reused = book();
    TestSupport::LogCapture log;
    everyone(reused);
    const QStringList first = warnings(log);
    EXPECT_EQ(first.size(), 2) << first.join('\n').toStdString();
    everyone(reused);
    everyone(reused);
    EXPECT_EQ(warnings(log), first) << "nothing more while the file stays as it was";

    write("bad.vcf", card("FN:Bad\r\nstill not a property\r\n"));
    everyone(reused);
    EXPECT_EQ(warnings(log).size(), first.size() + 1) << "its new problem is said";
}

// Of two cards with one UID in two files, the message names both.
TEST_F(AddressBookReuseTest, ASecondCardWithOneUidNamesBothFiles) {
    write("a/first.vcf", card("UID:kim\r\nFN:Kim\r\n"));
    write("b/second.vcf", card("UID:kim\r\nFN:Kim again\r\n"));
    TestSupport::LogCapture log;
    const auto contacts = everyone(book());
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].displayName(), "Kim");
    QStringList said;
    for (const auto& message : log.of(kCategory, QtDebugMsg))
        if (message.text.contains("second card"))
            said << message.text;
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains("b/second.vcf") && said[0].contains("a/first.vcf")) << said[0].toStdString();
}

// A 200 MB file is read as any other, once, and nothing of its bytes is kept; one past the limit
// is skipped, and said so once.
TEST_F(AddressBookReuseTest, LargeFilesAreReadOnceAndTooLargeOnesSkippedOnce) {
    write("small.vcf", card("UID:s\r\nFN:Small\r\n"));
    for (const auto& [name, size] :
         {std::pair("big.vcf", off_t{200} << 20), std::pair("huge.vcf", off_t{300} << 20)}) {
        const int descriptor = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(descriptor, 0);
        ASSERT_EQ(::ftruncate(descriptor, size), 0); // sparse: no disk taken
        ::close(descriptor);
    }
    const AddressBook reused = book();
    TestSupport::LogCapture log;
    EXPECT_THAT(names(everyone(reused)), ::testing::ElementsAre("Small (s)"));
    const QStringList first = warnings(log);
    ASSERT_EQ(first.size(), 2) << first.join('\n').toStdString();
    EXPECT_TRUE(first.filter("big.vcf").size() == 1 && first.filter("no card").size() == 1);
    EXPECT_TRUE(first.filter("huge.vcf").size() == 1 && first.filter("too large").size() == 1);
    EXPECT_THAT(names(everyone(reused)), ::testing::ElementsAre("Small (s)"));
    EXPECT_EQ(warnings(log), first) << "neither is read again while it stays as it was";
}

// On a file system that keeps whole seconds (ext2 with small inodes), a card rewritten within
// the second keeps size, inode and times: only reading it again tells. Needs root for the mount.
TEST_F(AddressBookReuseTest, ACoarseClockDoesNotHideARewriteWithinTheSecond) {
    const QString mkfs = QStandardPaths::findExecutable("mkfs.ext2", {"/usr/sbin", "/sbin"});
    if (::geteuid() != 0 || mkfs.isEmpty())
        GTEST_SKIP() << "needs root and mkfs.ext2 to mount a file system with a one-second clock";
    const QString image = home_.filePath("coarse.img");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(8 << 20));
    }
    ASSERT_EQ(QProcess::execute(mkfs, {"-q", "-F", "-I", "128", image}), 0);
    const QString mounted = home_.filePath("coarse");
    ASSERT_TRUE(QDir().mkpath(mounted));
    if (QProcess::execute("mount", {"-o", "loop", image, mounted}) != 0)
        GTEST_SKIP() << "no loop mount here";
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mounted}); });
    folder_ = mounted;
    settings().setFolder(folder_);

    const AddressBook reused = book();
    for (int round = 0; round < 3; ++round) {
        write("a.vcf", card("UID:a\r\nFN:Name " + QByteArray::number(round) + "\r\n"));
        struct stat before {};
        ASSERT_EQ(::stat(encoded("a.vcf").constData(), &before), 0);
        everyone(reused);
        write("a.vcf", card("UID:a\r\nFN:Name " + QByteArray::number(round + 5) + "\r\n"));
        struct stat after {};
        ASSERT_EQ(::stat(encoded("a.vcf").constData(), &after), 0);
        const auto now = everyone(reused);
        EXPECT_EQ(now, everyone(book()));
        ASSERT_EQ(now.size(), 1u);
        EXPECT_EQ(now[0].displayName(), "Name " + std::to_string(round + 5));
        if (before.st_ctim.tv_sec == after.st_ctim.tv_sec) {
            EXPECT_TRUE(CardFileIdentity::of(before) == CardFileIdentity::of(after)) << "the case it guards";
        }
    }
}
