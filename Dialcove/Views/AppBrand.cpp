#include "Dialcove/Views/AppBrand.hpp"

#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

namespace Dialcove {

const MurvelUI::MurvelBrand& appBrand() {
    static const MurvelUI::MurvelBrand brand{
        .name = QStringLiteral("Dialcove"),
        .color = QColor(15, 158, 143),
        .connection = MurvelUI::MurvelBrand::Connection::offline,
        .darkAccent = QColor(72, 200, 182),
        .lightAccent = QColor(15, 138, 125),
    };
    return brand;
}

QColor appSelectionFill() {
    static const QColor fill = MurvelUI::withOpacity(appBrand().color, 0.16);
    return fill;
}

QColor appQuietFill(MurvelUI::MurvelColorScheme scheme) {
    static const QColor light =
        MurvelUI::withOpacity(MurvelUI::SystemPalette::primary(MurvelUI::MurvelColorScheme::light), 0.08);
    static const QColor dark =
        MurvelUI::withOpacity(MurvelUI::SystemPalette::primary(MurvelUI::MurvelColorScheme::dark), 0.08);
    return scheme == MurvelUI::MurvelColorScheme::dark ? dark : light;
}

} // namespace Dialcove
