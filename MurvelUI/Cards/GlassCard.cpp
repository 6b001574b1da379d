#include "MurvelUI/GlassCard.hpp"

#include "MurvelUI/SystemPalette.hpp"

namespace MurvelUI {

QColor GlassCard::fill(MurvelColorScheme scheme) const {
    return SystemPalette::glass(scheme);
}

} // namespace MurvelUI
