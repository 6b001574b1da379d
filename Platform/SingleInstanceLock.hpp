#pragma once

#include <QString>

namespace Platform {

// One running copy per user and display: an advisory lock on a file under $XDG_RUNTIME_DIR whose
// name carries the display. The kernel drops the lock with the process, so a copy that was killed
// never blocks the next start. Without a runtime folder the system's temporary folder holds a
// folder named with the user id, which must be the user's own: made private when missing, refused
// when it is a link, another user's, or open to others for writing (another user could hold the
// lock, or stand in for the running copy).
class SingleInstanceLock {
public:
    enum class Outcome {
        // This process holds the lock.
        acquired,
        // Another copy holds it.
        running,
        // The lock could not be taken at all (problem() says why): the program must not start,
        // or two copies could run.
        refused,
    };

    // `name` names the program ("dialcove"); `display` the display it runs on (":0"), empty for none.
    SingleInstanceLock(const QString& name, const QString& display);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting.
    Outcome tryLock();
    bool isLocked() const { return fd_ >= 0; }
    // Why the last tryLock() was refused, as one sentence; empty otherwise.
    const QString& problem() const { return problem_; }

    // The folder of the lock, where the running copy may keep more of its per-display files; empty
    // when the folder was refused.
    const QString& folder() const { return folder_; }
    const QString& path() const { return path_; }
    // `name` with the display's part, for another file beside the lock ("dialcove-:0").
    const QString& baseName() const { return baseName_; }

private:
    QString folder_;
    QString baseName_;
    QString path_;
    QString problem_;
    int fd_ = -1;
};

} // namespace Platform
