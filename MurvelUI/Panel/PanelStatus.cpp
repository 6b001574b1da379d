#include "MurvelUI/Panel/PanelStatus.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

namespace MurvelUI {

QColor PanelStatus::color(MurvelColorScheme scheme) const {
    switch (value_) {
    case working:
        return PrivacyGreen::color(scheme);
    case off:
        return BrandPalette::secondary(scheme);
    case attention:
        return BrandPalette::attention(scheme);
    case recording:
        return SystemPalette::red(scheme);
    }
    return BrandPalette::secondary(scheme);
}

} // namespace MurvelUI
