#pragma once

#include <QString>
#include <QStringView>
#include <chrono>
#include <optional>
#include <qcoro/qcorotask.h>

namespace Platform {

// Hands a URL to the desktop's opener, `xdg-open`, found on PATH and run directly (never through a
// shell) with the URL as its one argument. Main thread only.
//
// `xdg-open` exits as soon as the desktop's own launcher has started the handler, except on a bare
// window manager, where it runs the handler in the foreground until the handler quits. So an opener
// still running at the timeout has found a handler and started it; it is left to finish on its own.
class UrlOpener {
public:
    enum class Outcome {
        opened,       // exited with status 0
        failed,       // refused, could not be started, crashed or exited with another status
        stillRunning, // no verdict within the timeout: the handler runs in the opener's foreground
    };

    static constexpr std::chrono::milliseconds defaultTimeout{5000};

    // An absolute URL in RFC 3986 syntax: a scheme, ":", then only unreserved and reserved
    // characters (no IP-literal brackets), percent signs only before two hexadecimal digits and at
    // most one "#". So no spaces, no control characters, no leading "-".
    static bool isWellFormed(QStringView url);

    // Opens `url`; a URL that is not well formed is refused without running anything.
    static QCoro::Task<Outcome> open(QString url, std::chrono::milliseconds timeout = defaultTimeout);
    // Starts the opener for `url` and leaves it to finish on its own: true once it started. For a
    // caller that only hands a link on, such as a link in a window. Refuses a URL as open does.
    static bool openDetached(const QString& url);

    // The file: URL of `path` while it names a regular file; none otherwise.
    static std::optional<QString> fileUrl(const QString& path);
};

} // namespace Platform
