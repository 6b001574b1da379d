#pragma once

#include <QString>

namespace Platform {

// Who the program is to the desktop, as its installed files say it (set by the build): the app id
// that names its menu entry, icons and autostart entry, its name and its one-line summary.
struct DesktopIdentity {
    DesktopIdentity() = delete;

    static QString appId();
    static QString name();
    static QString summary();
};

} // namespace Platform
