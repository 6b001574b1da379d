#include "Dialcove/Views/ContactButtonStyle.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"

namespace Dialcove {

QColor ContactButtonStyle::fill(bool isHovered, bool isPressed, MurvelUI::MurvelColorScheme scheme) const {
    if (isSelected)
        return appBrand().color;
    if (isHovered || isPressed)
        return MurvelUI::BrandPalette::strongFill(scheme);
    return appQuietFill(scheme);
}

qreal ContactButtonStyle::opacity(bool isEnabled) {
    return isEnabled ? 1.0 : 0.5;
}

} // namespace Dialcove
