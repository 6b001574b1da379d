#pragma once

class QScrollBar;

namespace MurvelUI {

// The kit's scroll bar: 8 points wide, a rounded grey handle that reads on either scheme, no arrow
// buttons and no track, in place of the desktop style's opaque one.
struct ThinScrollBar {
    static constexpr int width = 8;

    ThinScrollBar() = delete;
    static void apply(QScrollBar* bar);
};

} // namespace MurvelUI
