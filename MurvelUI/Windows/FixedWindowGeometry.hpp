#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSizeF>

namespace MurvelUI {

// The placement rules of `FixedWindow`, as pure functions in Qt's coordinates (origin top-left, y
// growing down), so that they can be checked without a window.
struct FixedWindowGeometry {
    FixedWindowGeometry() = delete;

    // Content is never taller than the visible height less this, so the window keeps room around it.
    static constexpr int screenMargin = 64;

    // True when both sides are finite and above zero; anything else is dropped.
    static bool acceptsContentSize(QSizeF size);

    // The tallest content a screen of visible area `visible` takes: its height less 64, at least 1.
    static int maximumContentHeight(const QRect& visible);

    // The window frame for content of `content` size (an accepted size):
    // - the height rounded up to a multiple of 4 and capped at `maximumContentHeight`;
    // - plus `frameMargins` (the title bar and borders the window manager adds);
    // - no wider and no taller than `visible`;
    // - with `anchorsTop` the top edge of `current` stays, otherwise its vertical centre; the
    //   horizontal centre always stays;
    // - then moved inside `visible`.
    static QRect frame(QSizeF content, const QRect& visible, const QRect& current,
                       const QMargins& frameMargins, bool anchorsTop);

    // The top-left corner that centres a frame of `size` on `visible`, each coordinate rounded to
    // the nearest whole point (halves away from zero); not moved inside `visible`.
    static QPoint centeredOrigin(QSize size, const QRect& visible);
};

} // namespace MurvelUI
