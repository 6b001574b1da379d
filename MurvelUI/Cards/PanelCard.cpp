#include "MurvelUI/Cards/PanelCard.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"

namespace MurvelUI {

QColor PanelCard::fill(MurvelColorScheme scheme) const {
    return BrandPalette::fill(scheme);
}

} // namespace MurvelUI
