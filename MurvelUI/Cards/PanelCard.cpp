#include "MurvelUI/PanelCard.hpp"

#include "MurvelUI/BrandPalette.hpp"

namespace MurvelUI {

QColor PanelCard::fill(MurvelColorScheme scheme) const {
    return BrandPalette::fill(scheme);
}

} // namespace MurvelUI
