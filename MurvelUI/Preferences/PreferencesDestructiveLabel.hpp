#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"

namespace MurvelUI {

class MurvelText;

// The kit's destructive red for labels in preference forms: sRGB (152, 34, 27) in light and
// (255, 170, 160) in dark, at full opacity.
struct PreferencesDestructiveLabel {
    PreferencesDestructiveLabel() = delete;

    static QColor color(MurvelColorScheme scheme);
    // Colours `label` with it.
    static void apply(MurvelText* label);
};

} // namespace MurvelUI
