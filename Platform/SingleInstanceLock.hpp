#pragma once

#include <QString>

namespace Platform {

// One running copy per user and display: an advisory lock on a file under $XDG_RUNTIME_DIR whose
// name carries the display. The kernel drops the lock with the process, so a copy that was killed
// never blocks the next start. Without a runtime folder of the user's own, the system's
// temporary folder holds the file, named with the user id too.
class SingleInstanceLock {
public:
    // `name` names the program ("dialcove"); `display` the display it runs on (":0"), empty for none.
    SingleInstanceLock(const QString& name, const QString& display);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting; false when another process holds it. A lock file that cannot
    // be opened at all is logged and counts as taken, so the program still starts.
    bool tryLock();
    bool isLocked() const { return fd_ >= 0; }

    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};

} // namespace Platform
