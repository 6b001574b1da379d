#include "MurvelUI/Brand/BrandPalette.hpp"

#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

namespace MurvelUI {

namespace {

QColor primaryAt(MurvelColorScheme scheme, double opacity) {
    return withOpacity(SystemPalette::primary(scheme), opacity);
}

} // namespace

QColor BrandPalette::focusRing(MurvelColorScheme scheme) {
    return primaryAt(scheme, 0.55);
}
QColor BrandPalette::secondary(MurvelColorScheme scheme) {
    return primaryAt(scheme, 0.7);
}
QColor BrandPalette::fill(MurvelColorScheme scheme) {
    return primaryAt(scheme, 0.06);
}
QColor BrandPalette::strongFill(MurvelColorScheme scheme) {
    return primaryAt(scheme, 0.16);
}

QColor BrandPalette::attention(MurvelColorScheme scheme) {
    return scheme == MurvelColorScheme::dark ? SystemPalette::orange(scheme) : QColor(184, 80, 0);
}

} // namespace MurvelUI
