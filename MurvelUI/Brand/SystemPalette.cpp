#include "MurvelUI/Brand/SystemPalette.hpp"

#include "MurvelUI/Brand/MurvelColor.hpp"

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

QPalette SystemPalette::application(MurvelColorScheme scheme) {
    const bool dark = isDark(scheme);
    const QColor text = primary(scheme);
    const QColor window = windowBackground(scheme);
    const QColor base = dark ? QColor(30, 30, 30) : QColor(Qt::white);
    const QColor button = dark ? QColor(70, 70, 70) : QColor(250, 250, 250);
    QPalette palette(text, button, button.lighter(120), button.darker(160), button.darker(120), text, text,
                     base, window);
    palette.setColor(QPalette::AlternateBase, dark ? QColor(40, 40, 40) : QColor(245, 245, 245));
    palette.setColor(QPalette::PlaceholderText, secondaryLabel(scheme));
    palette.setColor(QPalette::Highlight, accent(scheme));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, accent(scheme));
    palette.setColor(QPalette::LinkVisited, accent(scheme));
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::BrightText, dark ? QColor(Qt::black) : QColor(Qt::white));
    // Disabled text fades towards the window colour, as the desktop's does.
    const QColor faded = withOpacity(text, 0.25);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        palette.setColor(QPalette::Disabled, role, faded);
    return palette;
}

} // namespace MurvelUI
