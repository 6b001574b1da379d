#pragma once

#include <QColor>

namespace MurvelUI {

// The relative luminance of an sRGB colour: 0.2126 R + 0.7152 G + 0.0722 B over the linear
// components, computed in single precision and widened.
double relativeLuminance(const QColor& color);

// Black or white, whichever contrasts more with a fill of luminance `luminance`; white on a tie.
QColor labelColorForLuminance(double luminance);

// The label colour that reads on `fill`: buttons filled with the brand colour use it.
QColor labelColorOn(const QColor& fill);

} // namespace MurvelUI
