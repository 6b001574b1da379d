#pragma once

#include "DialcoveCore/MenuStatus.hpp"
#include "Platform/Desktop/DesktopColorScheme.hpp"

#include <QColor>
#include <QPalette>
#include <QString>

namespace Dialcove {

// What the tray icon of each status looks like beyond its symbol: the colour it is drawn in, so
// that it reads on the panel, and the name of the symbolic icon of the same meaning that an
// installed copy puts in the hicolor theme (data/CMakeLists.txt installs them under these names).
struct StatusIconArt {
    StatusIconArt() = delete;

    // "<app id>-ready-symbolic", "-off-", "-attention-" (both problems) or "-copied-symbolic".
    static QString themeName(DialcoveCore::MenuStatus status);

    // Light on a desktop that prefers dark, dark on one that prefers light; where the desktop
    // says neither, the palette's text colour, as the app's own windows draw their text.
    static QColor colour(Platform::DesktopColorScheme::Scheme scheme, const QPalette& palette);
};

} // namespace Dialcove
