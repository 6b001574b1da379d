#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace TestSupport {

// A folder on a file system of a given kind, for faults that only one kind shows: tmpfs, with
// nanosecond timestamps, or a file system that keeps whole seconds (ext2 with 128-byte inodes on a
// loop device, made for the test and unmounted when it goes), as FAT, exFAT and some network mounts
// do. Made where the machine allows it; otherwise `make` says why not.
class ScratchFileSystem {
public:
    enum class Kind { tmpfs, wholeSeconds };

    static const char* nameOf(Kind kind) { return kind == Kind::tmpfs ? "tmpfs" : "ext2 (whole seconds)"; }

    static std::unique_ptr<ScratchFileSystem> make(Kind kind, QString& whyNot) {
        std::unique_ptr<ScratchFileSystem> made(new ScratchFileSystem);
        if (!made->scratch_.isValid()) {
            whyNot = "no temporary folder";
            return nullptr;
        }
        if (kind == Kind::tmpfs ? made->mountTmpfs(whyNot) : made->mountWholeSeconds(whyNot))
            return made;
        return nullptr;
    }

    ~ScratchFileSystem() {
        if (!mountPoint_.isEmpty() && run("umount", {mountPoint_}) != 0)
            run("umount", {"-l", mountPoint_});
    }

    ScratchFileSystem(const ScratchFileSystem&) = delete;
    ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

    // An empty folder on the file system.
    QString path() const { return root_; }

    // Where temporary files cost no disk writes: the shared-memory folder, tmpfs on Debian with no
    // privileges needed, else the usual temporary folder. Loop images and config homes go there, as
    // every synced write waits for its data to reach the disk.
    static QString memoryBackedTemporaryRoot() {
        struct statfs shm {};
        if (::statfs("/dev/shm", &shm) == 0 && shm.f_type == 0x01021994 && ::access("/dev/shm", W_OK) == 0)
            return "/dev/shm";
        return QDir::tempPath();
    }

private:
    ScratchFileSystem() : scratch_(memoryBackedTemporaryRoot() + "/dialcove-test-XXXXXX") {}

    static int run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
        const QString found = QStandardPaths::findExecutable(program).isEmpty()
                                  ? QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"})
                                  : QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            if (output)
                *output = program + " is not installed";
            return -1;
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(found, arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            if (output)
                *output = program + " did not finish";
            return -1;
        }
        if (output)
            *output = QString::fromLocal8Bit(process.readAll()).trimmed();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    bool mountTmpfs(QString& whyNot) {
        if (memoryBackedTemporaryRoot() == "/dev/shm") {
            root_ = scratch_.filePath("scratch");
            return QDir().mkpath(root_);
        }
        return mountOnScratch({"-t", "tmpfs", "-o", "size=32m", "tmpfs"}, whyNot);
    }

    bool mountWholeSeconds(QString& whyNot) {
        const QString image = scratch_.filePath("image");
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(16 << 20)) {
            whyNot = "could not make the image file";
            return false;
        }
        file.close();
        QString output;
        if (run("mkfs.ext2", {"-q", "-F", "-I", "128", "-m", "0", image}, &output) != 0) {
            whyNot = "mkfs.ext2 failed: " + output;
            return false;
        }
        if (!mountOnScratch({"-o", "loop,nosuid,nodev", image}, whyNot))
            return false;
        // The reason for this file system: a file's times are whole seconds.
        const QString probe = root_ + "/probe";
        {
            QFile written(probe);
            if (!written.open(QIODevice::WriteOnly) || written.write("x") != 1) {
                whyNot = "the loop mount takes no file";
                return false;
            }
        }
        struct stat status {};
        if (::stat(QFile::encodeName(probe).constData(), &status) != 0 || status.st_mtim.tv_nsec != 0) {
            whyNot = "the loop mount keeps finer times than whole seconds";
            return false;
        }
        return QFile::remove(probe);
    }

    bool mountOnScratch(const QStringList& source, QString& whyNot) {
        if (::geteuid() != 0) {
            whyNot = "mounting needs root";
            return false;
        }
        const QString point = scratch_.filePath("mount");
        QString output;
        if (!QDir().mkpath(point) || run("mount", source + QStringList{point}, &output) != 0) {
            whyNot = "mount refused (no loop devices or no privilege here?): " + output;
            return false;
        }
        mountPoint_ = point;
        root_ = point + "/scratch";
        if (!QDir().mkpath(root_)) {
            whyNot = "the mounted file system takes no folder";
            return false;
        }
        return true;
    }

    QTemporaryDir scratch_;
    QString mountPoint_;
    QString root_;
};

} // namespace TestSupport
