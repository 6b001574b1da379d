#pragma once

#include <QColor>

namespace MurvelUI {

// The red, green and blue of an sRGB colour, as fractions of 1.
struct ColorComponents {
    double red = 0;
    double green = 0;
    double blue = 0;

    QColor color(double opacity = 1) const {
        return QColor::fromRgbF(float(red), float(green), float(blue), float(opacity));
    }

    friend bool operator==(const ColorComponents&, const ColorComponents&) = default;
};

} // namespace MurvelUI
