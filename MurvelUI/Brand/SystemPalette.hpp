#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>
#include <QPalette>

namespace MurvelUI {

// The desktop colours the kit builds on, with the same values in every theme so that the kit looks
// the same everywhere.
struct SystemPalette {
    SystemPalette() = delete;

    // The primary label colour: black in light, white in dark.
    static QColor primary(MurvelColorScheme scheme);
    // The secondary hierarchical style: primary at 0.5 in light, 0.55 in dark.
    static QColor secondaryLabel(MurvelColorScheme scheme);
    // The quaternary hierarchical style: primary at 0.1.
    static QColor quaternary(MurvelColorScheme scheme);
    // The system orange: (255, 149, 0) in light, (255, 159, 10) in dark.
    static QColor orange(MurvelColorScheme scheme);
    // The system red: (255, 59, 48) in light, (255, 69, 58) in dark.
    static QColor red(MurvelColorScheme scheme);
    // The opaque window background: (236, 236, 236) in light, (50, 50, 50) in dark.
    static QColor windowBackground(MurvelColorScheme scheme);
    // The hairline between sections: primary at 0.1.
    static QColor separator(MurvelColorScheme scheme);
    // The control accent when nothing tints a control: (0, 122, 255) in light, (10, 132, 255) in dark.
    static QColor accent(MurvelColorScheme scheme);
    // The flat stand-in for the regular glass material: white at 0.55 in light, at 0.1 in dark.
    static QColor glass(MurvelColorScheme scheme);

    // An application palette in these colours, for plain Qt widgets (a line edit, a scroll bar)
    // where the kit forces a scheme on the whole process: its window colour is windowBackground,
    // so colorSchemeOf reads the same scheme back.
    static QPalette application(MurvelColorScheme scheme);
};

} // namespace MurvelUI
