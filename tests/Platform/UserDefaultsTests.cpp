#include "Platform/UserDefaults.hpp"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using Platform::UserDefaults;

namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    }

    // The file as the next launch reads it: a path this process has not cached.
    std::unique_ptr<UserDefaults> reopened(const UserDefaults& defaults) {
        const QString copy = home.filePath(QString("reopened-%1.ini").arg(++copies));
        EXPECT_TRUE(QFile::copy(defaults.path(), copy));
        return std::make_unique<UserDefaults>(copy);
    }

    QTemporaryDir home;
    int copies = 0;
};

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

TEST_F(UserDefaultsTest, StandardFileLivesUnderTheConfigHome) {
    const std::shared_ptr<UserDefaults> defaults = UserDefaults::standard();
    EXPECT_EQ(defaults->path(), home.path() + "/dialcove/dialcove.ini");
    EXPECT_EQ(UserDefaults::standard(), defaults); // shared while held
    defaults->setBool("hasSeenWelcome", true);
    EXPECT_TRUE(QFile::exists(home.path() + "/dialcove/dialcove.ini"));
}

TEST_F(UserDefaultsTest, TypedReadsGiveBackWhatWasStoredAfterReopening) {
    UserDefaults defaults(home.filePath("d.ini"));
    QByteArray everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte += char(i);
    const QDateTime when = QDateTime(QDate(2024, 5, 17), QTime(8, 30, 15, 250), Qt::UTC);

    defaults.setBool("yes", true);
    defaults.setBool("no", false);
    defaults.setData("bytes", everyByte);
    defaults.setData("empty bytes", QByteArray());
    defaults.setString("comma", "a,b");
    defaults.setString("looks typed", "@ByteArray(x)");
    defaults.setString("word true", "true");
    defaults.setString("empty", "");
    defaults.setStringArray("none", {});
    defaults.setStringArray("one", {"C1"});
    defaults.setStringArray("blank one", {""});
    defaults.setStringArray("two", {"a,b", "c"});
    defaults.setObject("date", when);

    const std::unique_ptr<UserDefaults> next = reopened(defaults);
    for (const UserDefaults* read : {&defaults, next.get()}) {
        EXPECT_TRUE(read->boolValue("yes"));
        EXPECT_FALSE(read->boolValue("no"));
        EXPECT_FALSE(read->boolValue("missing"));
        EXPECT_EQ(read->data("bytes"), everyByte);
        EXPECT_EQ(read->data("empty bytes"), QByteArray());
        EXPECT_EQ(read->string("comma"), "a,b");
        EXPECT_EQ(read->string("looks typed"), "@ByteArray(x)");
        EXPECT_EQ(read->string("word true"), "true");
        EXPECT_EQ(read->string("empty"), "");
        EXPECT_EQ(read->stringArray("none"), QStringList());
        EXPECT_EQ(read->stringArray("one"), QStringList{"C1"});
        EXPECT_EQ(read->stringArray("blank one"), QStringList{""});
        EXPECT_EQ(read->stringArray("two"), (QStringList{"a,b", "c"}));
        EXPECT_EQ(read->object("date"), QVariant(when));
        EXPECT_FALSE(read->stringArray("missing").has_value());
        EXPECT_FALSE(read->object("missing").has_value());
    }
}

TEST_F(UserDefaultsTest, ReadOfAnotherKindGivesNothing) {
    UserDefaults defaults(home.filePath("d.ini"));
    defaults.setString("text", "x");
    defaults.setData("bytes", "x");
    defaults.setStringArray("list", {"a", "b"});
    const std::unique_ptr<UserDefaults> read = reopened(defaults);
    EXPECT_FALSE(read->data("text").has_value()); // a string is not bytes
    EXPECT_FALSE(read->string("bytes").has_value());
    EXPECT_FALSE(read->stringArray("bytes").has_value());
    EXPECT_FALSE(read->string("list").has_value());
    EXPECT_FALSE(read->boolValue("text"));
}

TEST_F(UserDefaultsTest, RemoveForgetsTheKey) {
    UserDefaults defaults(home.filePath("d.ini"));
    defaults.setData("k", "v");
    defaults.remove("k");
    EXPECT_FALSE(defaults.contains("k"));
    EXPECT_FALSE(reopened(defaults)->contains("k"));
}

TEST_F(UserDefaultsTest, SeesAnotherProcessWritesAfterSync) {
    const QString path = home.filePath("d.ini");
    UserDefaults defaults(path);
    defaults.setString("recent", "old");
    // Another process rewrites the file.
    writeFile(path, "[General]\nrecent=newer value\nhasSeenWelcome=true\n");
    defaults.sync();
    EXPECT_EQ(defaults.string("recent"), "newer value");
    EXPECT_TRUE(defaults.boolValue("hasSeenWelcome"));
}

TEST_F(UserDefaultsTest, FileThatDoesNotParseIsKeptAside) {
    const QString path = home.filePath("d.ini");
    const QByteArray broken = "[sec\nkey=\"unterminated\n";
    writeFile(path, broken);
    UserDefaults defaults(path);
    defaults.setBool("hasSeenWelcome", true);
    EXPECT_TRUE(defaults.boolValue("hasSeenWelcome"));

    const QStringList copies = QDir(home.path()).entryList({"d.ini.corrupt-*"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    QFile copy(home.filePath(copies.front()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), broken);
}

TEST_F(UserDefaultsTest, FileOfBytesThatAreNotTextIsKeptAside) {
    // QSettings takes these without a word, and the next write would replace them.
    const struct {
        const char* name;
        QByteArray bytes;
        bool keptAside;
    } cases[] = {
        {"zeros", QByteArray(64, '\0'), true},
        {"binary", QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR", 16), true},
        {"latin1", "[General]\nname=Jos\xE9\n", true},
        {"utf8", "[General]\nname=Jos\xC3\xA9\n", false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        const QString file = QString("%1.ini").arg(c.name);
        writeFile(home.filePath(file), c.bytes);
        UserDefaults defaults(home.filePath(file));
        defaults.setBool("hasSeenWelcome", true);
        EXPECT_TRUE(defaults.boolValue("hasSeenWelcome")) << c.name;

        const QStringList copies = QDir(home.path()).entryList({file + ".corrupt-*"}, QDir::Files);
        ASSERT_EQ(copies.size(), c.keptAside ? 1 : 0) << c.name;
        if (c.keptAside) {
            QFile copy(home.filePath(copies.front()));
            ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
            EXPECT_EQ(copy.readAll(), c.bytes) << c.name;
        }
    }
}

TEST_F(UserDefaultsTest, FileThatTheNextWriteWouldAlterIsKeptAsideAndOnlyThen) {
    // QSettings parses at its first read, folds what follows an open quote into the value, and
    // turns a value it cannot decode into another; the next write stores what it made of them.
    // A value that does not decode is also taken out of the file (the copy keeps it), so it reads
    // as nothing stored and QSettings never decodes it.
    const struct {
        const char* name;
        QByteArray text;
        bool keptAside;
        const char* undecodable; // the key taken out, if any
    } cases[] = {
        {"a line that is not a key", "[General]\nk=1\nhello\nj=2\n", true, nullptr},
        {"an unterminated quote", "[General]\nk=\"a\nj=2\n", true, nullptr},
        {"a value that does not stream back",
         "[General]\nk=1\nhasSeenWelcome=@Variant(\\0\\0\\0\\teArray@DateTime(x)\n", true, "hasSeenWelcome"},
        {"a list of four billion items", "[General]\nk=1\nv=@Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xff)\n",
         true, "v"},
        {"the same behind escapes and in a list",
         "[General]\nk=1\nv=a, \\x40Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xff)\n", true, "v"},
        {"a date cut short", "[General]\nk=1\nd=@DateTime(\\0\\0\\0\\x10\\0)\n", true, "d"},
        {"a date in a named zone",
         "[General]\nk=1\nd=@DateTime(\\0\\0\\0\\x10\\0\\0\\0\\0\\0\\0%\\x8b "
         "\\x1\\xd2\\xeb@\\x3\\xff\\xff\\xff\\xff)\n",
         true, "d"},
        {"a date of an unknown time spec",
         "[General]\nk=1\nd=@DateTime(\\0\\0\\0\\x10\\0\\0\\0\\0\\0\\0%\\x8b \\x1\\xd2\\xeb@\\xc)\n", true,
         "d"},
        {"a quoted value of an unknown type", "[General]\nk=1\nv=\"@Variant(\\0\\0\\x3\\xe8)\"\n", true, "v"},
        {"half a surrogate pair", "[General]\nk=1\ns=a\\xdddd\n", true, "s"},
        {"a rectangle of words", "[General]\nk=1\nr=@Rect(a b c d)\n", true, "r"},
        {"comments, blank lines and spaces", "[General]\n; a \"note\n\n  k = 1 \n", false, nullptr},
        {"an escaped quote", "[General]\nk=\"a\\\"b\"\n", false, nullptr},
        {"a value continued on the next line", "[General]\nk=a\\\n b\n", false, nullptr},
        {"an empty list and a literal at sign", "[General]\nl=@Invalid()\nt=@@Variant(x)\n", false, nullptr},
        {"a date and bytes as written",
         "[General]\nd=@DateTime(\\0\\0\\0\\x10\\0\\0\\0\\0\\0\\0%\\x8b "
         "\\x1\\xd2\\xeb@\\x1)\nb=@ByteArray(\\0\\x1\\xff)\n",
         false, nullptr},
        {"keys in sections", "[General]\nk=1\n[recent]\nids=a, b\n", false, nullptr},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QString("case-%1.ini").arg(++run);
        writeFile(home.filePath(file), c.text);
        UserDefaults defaults(home.filePath(file));
        std::map<QString, std::optional<QVariant>> before;
        for (const QString key : {"k", "j", "d", "b", "l", "t", "recent/ids"})
            before[key] = defaults.object(key);
        defaults.setString("written", "x");

        const QStringList copies = QDir(home.path()).entryList({file + ".corrupt-*"}, QDir::Files);
        ASSERT_EQ(copies.size(), c.keptAside ? 1 : 0);
        if (c.keptAside) {
            QFile copy(home.filePath(copies.front()));
            ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
            EXPECT_EQ(copy.readAll(), c.text);
        } else {
            // Nothing kept aside, nothing lost: the write left every value as it read.
            const std::unique_ptr<UserDefaults> next = reopened(defaults);
            for (const auto& [key, value] : before)
                EXPECT_EQ(next->object(key), value) << key.toStdString();
        }
        if (c.undecodable) {
            const std::unique_ptr<UserDefaults> next = reopened(defaults);
            EXPECT_FALSE(next->contains(c.undecodable));
            EXPECT_EQ(next->string("k"), "1"); // the rest of the file as it was
            EXPECT_EQ(next->string("written"), "x");
        }
    }
}

TEST_F(UserDefaultsTest, HandWrittenValuesReadTheSameBeforeAndAfterTheNextWrite) {
    // QSettings gives these back as one type from the file and as another once it has written
    // them: a list with an item that begins with "@" as variants, then as strings; a streamed
    // number as a number, then as text.
    const struct {
        const char* name;
        QByteArray line;
        const char* key;
        std::optional<QStringList> list;
        bool isTrue;
    } cases[] = {
        {"a list with an at sign", "ids=a, @b\n", "ids", QStringList{"a", "@b"}, false},
        {"a streamed number", "n=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n", "n", QStringList{"5"}, true},
        {"a streamed zero", "z=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\0)\n", "z", QStringList{"0"}, false},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QString("typed-%1.ini").arg(++run);
        writeFile(home.filePath(file), "[General]\n" + c.line);
        UserDefaults defaults(home.filePath(file));
        const auto check = [&](const UserDefaults& read) {
            EXPECT_EQ(read.stringArray(c.key), c.list);
            EXPECT_EQ(read.boolValue(c.key), c.isTrue);
        };
        check(defaults);
        defaults.setString("written", "x");
        check(*reopened(defaults));
        EXPECT_TRUE(QDir(home.path()).entryList({file + ".corrupt-*"}, QDir::Files).isEmpty());
    }
}
