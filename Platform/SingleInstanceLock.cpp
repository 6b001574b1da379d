#include "Platform/SingleInstanceLock.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

QString lockFolder(const QString& name) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    // A shared folder: the user id keeps users apart.
    return QDir::tempPath() + u'/' + name + u'-' + QString::number(getuid());
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name, const QString& display) {
    const QString folder = lockFolder(name);
    QDir().mkpath(folder);
    const QString displayPart = display.isEmpty() ? QStringLiteral("nodisplay") : fileSafe(display);
    path_ = folder + u'/' + name + u'-' + displayPart + QStringLiteral(".lock");
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool SingleInstanceLock::tryLock() {
    if (fd_ >= 0)
        return true;
    const QByteArray file = QFile::encodeName(path_);
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCWarning(lcInstance) << "cannot open the instance lock" << path_ << std::strerror(errno);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return false;
        qCWarning(lcInstance) << "cannot take the instance lock" << path_ << std::strerror(error);
        return true;
    }
    fd_ = fd;
    return true;
}

} // namespace Platform
