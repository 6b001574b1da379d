#include "MurvelUI/Cards/GlassCard.hpp"

#include "MurvelUI/Brand/SystemPalette.hpp"

namespace MurvelUI {

QColor GlassCard::fill(MurvelColorScheme scheme) const {
    return SystemPalette::glass(scheme);
}

} // namespace MurvelUI
