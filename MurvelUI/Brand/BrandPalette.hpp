#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>

namespace MurvelUI {

// The kit's shared neutral colours, each the primary colour (black in light, white in dark) at a
// fixed opacity, and the attention colour.
struct BrandPalette {
    BrandPalette() = delete;

    // Primary at 0.55: the stroke of the keyboard focus ring.
    static QColor focusRing(MurvelColorScheme scheme);
    // Primary at 0.7: secondary text and symbols.
    static QColor secondary(MurvelColorScheme scheme);
    // Primary at 0.06: quiet backgrounds of notices, cards and buttons at rest.
    static QColor fill(MurvelColorScheme scheme);
    // Primary at 0.16: stronger backgrounds, such as a button under the pointer.
    static QColor strongFill(MurvelColorScheme scheme);
    // Warnings: the system orange in dark, sRGB (184, 80, 0) in light.
    static QColor attention(MurvelColorScheme scheme);
};

} // namespace MurvelUI
