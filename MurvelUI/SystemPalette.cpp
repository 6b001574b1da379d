#include "MurvelUI/SystemPalette.hpp"

#include "MurvelUI/MurvelColor.hpp"

namespace MurvelUI {

namespace {

bool isDark(MurvelColorScheme scheme) {
    return scheme == MurvelColorScheme::dark;
}

} // namespace

QColor SystemPalette::primary(MurvelColorScheme scheme) {
    return isDark(scheme) ? Qt::white : Qt::black;
}

QColor SystemPalette::secondaryLabel(MurvelColorScheme scheme) {
    return withOpacity(primary(scheme), isDark(scheme) ? 0.55 : 0.5);
}

QColor SystemPalette::quaternary(MurvelColorScheme scheme) {
    return withOpacity(primary(scheme), 0.1);
}

QColor SystemPalette::orange(MurvelColorScheme scheme) {
    return isDark(scheme) ? QColor(255, 159, 10) : QColor(255, 149, 0);
}

QColor SystemPalette::red(MurvelColorScheme scheme) {
    return isDark(scheme) ? QColor(255, 69, 58) : QColor(255, 59, 48);
}

QColor SystemPalette::windowBackground(MurvelColorScheme scheme) {
    return isDark(scheme) ? QColor(50, 50, 50) : QColor(236, 236, 236);
}

QColor SystemPalette::separator(MurvelColorScheme scheme) {
    return withOpacity(primary(scheme), 0.1);
}

QColor SystemPalette::accent(MurvelColorScheme scheme) {
    return isDark(scheme) ? QColor(10, 132, 255) : QColor(0, 122, 255);
}

QColor SystemPalette::glass(MurvelColorScheme scheme) {
    return withOpacity(QColor(Qt::white), isDark(scheme) ? 0.1 : 0.55);
}

} // namespace MurvelUI
