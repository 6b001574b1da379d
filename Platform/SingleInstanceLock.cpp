#include "Platform/SingleInstanceLock.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcInstance, "works.murvel.dialcove.instance")

// A display name as part of a file name: ":0.0" stays, a path separator does not.
QString fileSafe(const QString& text) {
    QString safe;
    for (const QChar c : text)
        safe += (c.isLetterOrNumber() || c == u':' || c == u'.' || c == u'-' || c == u'_') ? c : QChar(u'_');
    return safe;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why `folder`, in a folder every user may write to, cannot hold the lock; empty when it can. It is
// made private when missing. Anything else there may have been put by another user.
QString sharedFolderProblem(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("%1 cannot be made: %2").arg(folder, systemError(errno));
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return QStringLiteral("%1 cannot be read: %2").arg(folder, systemError(errno));
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder").arg(folder);
    if (status.st_uid != ::getuid())
        return QStringLiteral("%1 belongs to another user").arg(folder);
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("%1 can be written by other users").arg(folder);
    return {};
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name, const QString& display) {
    const QString displayPart = display.isEmpty() ? QStringLiteral("nodisplay") : fileSafe(display);
    baseName_ = name + u'-' + displayPart;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        folder_ = runtime;
    } else {
        // The user id keeps users apart in the shared folder.
        const QString shared = QDir::tempPath() + u'/' + name + u'-' + QString::number(::getuid());
        problem_ = sharedFolderProblem(shared);
        if (problem_.isEmpty())
            folder_ = shared;
    }
    if (!folder_.isEmpty())
        path_ = folder_ + u'/' + baseName_ + QStringLiteral(".lock");
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

SingleInstanceLock::Outcome SingleInstanceLock::tryLock() {
    if (fd_ >= 0)
        return Outcome::acquired;
    if (path_.isEmpty()) {
        qCWarning(lcInstance) << "no folder for the instance lock:" << problem_;
        return Outcome::refused;
    }
    const QByteArray file = QFile::encodeName(path_);
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem_ = QStringLiteral("%1 cannot be opened: %2").arg(path_, systemError(errno));
        qCWarning(lcInstance) << "cannot open the instance lock:" << problem_;
        return Outcome::refused;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Outcome::running;
        problem_ = QStringLiteral("%1 cannot be locked: %2").arg(path_, systemError(error));
        qCWarning(lcInstance) << "cannot take the instance lock:" << problem_;
        return Outcome::refused;
    }
    problem_.clear();
    fd_ = fd;
    return Outcome::acquired;
}

} // namespace Platform
