#include "Platform/SingleInstanceLock.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <iostream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = Platform::SingleInstanceLock::Outcome;

// An environment variable set for one test, put back after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : name_(name), was_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~ScopedVariable() { was_ ? qputenv(name_, *was_) : qunsetenv(name_); }

private:
    const char* name_;
    std::optional<QByteArray> was_;
};

// No runtime folder: the lock falls back to <TMPDIR>/dialcove-<uid>, under a temporary TMPDIR.
class SharedFolderLock : public testing::Test {
protected:
    QString folder() const { return temporary.path() + "/dialcove-" + QString::number(::getuid()); }

    QTemporaryDir temporary;
    ScopedVariable runtime{"XDG_RUNTIME_DIR", std::nullopt};
    ScopedVariable tmpdir{"TMPDIR", QFile::encodeName(temporary.path())};
};

TEST_F(SharedFolderLock, AMissingFolderIsMadePrivateAndHoldsTheLock) {
    Platform::SingleInstanceLock lock("dialcove", ":7");
    EXPECT_EQ(lock.tryLock(), Outcome::acquired) << lock.problem().toStdString();
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(lock.path(), folder() + "/dialcove-:7.lock");

    // A second copy on the same display finds it held; one on another display does not.
    Platform::SingleInstanceLock same("dialcove", ":7");
    EXPECT_EQ(same.tryLock(), Outcome::running);
    EXPECT_FALSE(same.isLocked());
    Platform::SingleInstanceLock other("dialcove", ":8");
    EXPECT_EQ(other.tryLock(), Outcome::acquired);
}

// A folder another user could have put there, or could write to, is refused: that user could hold
// the lock or stand in for the running copy. The program is told why and nothing is made inside.
TEST_F(SharedFolderLock, AFolderThatIsNotTheUsersOwnIsRefused) {
    struct Case {
        const char* name;
        std::function<bool(const QString& path)> make; // false: this machine cannot make it
        const char* problem;
    };
    const std::vector<Case> cases{
        {"open to all", [](const QString& p) { return QDir().mkdir(p) && ::chmod(qPrintable(p), 0777) == 0; },
         "can be written by other users"},
        {"open to its group",
         [](const QString& p) { return QDir().mkdir(p) && ::chmod(qPrintable(p), 0770) == 0; },
         "can be written by other users"},
        {"a link to a private folder",
         [this](const QString& p) {
             const QString target = temporary.path() + "/elsewhere";
             return QDir().mkdir(target) && ::chmod(qPrintable(target), 0700) == 0 &&
                    QFile::link(target, p);
         },
         "is not a folder"},
        {"a file", [](const QString& p) { return QFile(p).open(QIODevice::WriteOnly); }, "is not a folder"},
        {"another user's",
         [](const QString& p) {
             return ::getuid() == 0 && QDir().mkdir(p) && ::chmod(qPrintable(p), 0700) == 0 &&
                    ::chown(qPrintable(p), 65534, 65534) == 0;
         },
         "belongs to another user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder());
        QDir(folder()).removeRecursively();
        if (!c.make(folder())) {
            std::cout << "[  SKIPPED ] " << c.name << ": needs root to make" << std::endl;
            continue;
        }
        Platform::SingleInstanceLock lock("dialcove", ":7");
        EXPECT_EQ(lock.tryLock(), Outcome::refused);
        EXPECT_FALSE(lock.isLocked());
        EXPECT_TRUE(lock.problem().contains(c.problem)) << lock.problem().toStdString();
        EXPECT_TRUE(lock.problem().contains(folder())) << lock.problem().toStdString();
        EXPECT_TRUE(lock.folder().isEmpty());
        EXPECT_FALSE(QFile::exists(temporary.path() + "/elsewhere/dialcove-:7.lock"));
    }
}

// A lock file that cannot be opened is no lock: the start is refused rather than let two copies run.
TEST(SingleInstanceLock, ALockFileThatCannotBeOpenedRefusesTheStart) {
    QTemporaryDir runtime;
    ScopedVariable variable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ASSERT_TRUE(QDir(runtime.path()).mkdir("dialcove-:7.lock"));
    Platform::SingleInstanceLock lock("dialcove", ":7");
    EXPECT_EQ(lock.tryLock(), Outcome::refused);
    EXPECT_TRUE(lock.problem().contains("cannot be opened")) << lock.problem().toStdString();
    EXPECT_EQ(lock.folder(), runtime.path());
}

TEST(SingleInstanceLock, TheLockGoesWithItsHolder) {
    QTemporaryDir runtime;
    ScopedVariable variable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    std::optional<Platform::SingleInstanceLock> first;
    first.emplace("dialcove", "host/:0");
    ASSERT_EQ(first->tryLock(), Outcome::acquired);
    // A path separator in the display stays out of the file name.
    EXPECT_EQ(first->path(), runtime.path() + "/dialcove-host_:0.lock");
    Platform::SingleInstanceLock second("dialcove", "host/:0");
    EXPECT_EQ(second.tryLock(), Outcome::running);
    first.reset();
    EXPECT_EQ(second.tryLock(), Outcome::acquired);
}

} // namespace
