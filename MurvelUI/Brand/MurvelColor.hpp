#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>

namespace MurvelUI {

// A colour with a light and a dark variant, resolved when a view paints.
struct MurvelColor {
    QColor light;
    QColor dark;

    MurvelColor() = default;
    // The same colour in both schemes.
    MurvelColor(const QColor& color) : light(color), dark(color) {} // NOLINT: implicit on purpose
    MurvelColor(const QColor& lightVariant, const QColor& darkVariant)
        : light(lightVariant), dark(darkVariant) {}

    // Both variants of a palette function such as `BrandPalette::secondary`.
    static MurvelColor of(QColor (*colorFor)(MurvelColorScheme)) {
        return {colorFor(MurvelColorScheme::light), colorFor(MurvelColorScheme::dark)};
    }

    QColor resolve(MurvelColorScheme scheme) const {
        return scheme == MurvelColorScheme::dark ? dark : light;
    }

    friend bool operator==(const MurvelColor&, const MurvelColor&) = default;
};

// `color` with its opacity replaced.
inline QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(opacity));
    return color;
}

} // namespace MurvelUI
