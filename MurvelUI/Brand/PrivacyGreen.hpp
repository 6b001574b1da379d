#pragma once

#include "MurvelUI/Brand/ColorComponents.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>

namespace MurvelUI {

// The colour of privacy promises.
struct PrivacyGreen {
    PrivacyGreen() = delete;

    static constexpr ColorComponents dark{0.19, 0.82, 0.35};
    static constexpr ColorComponents light{0.09, 0.44, 0.18};

    static QColor color(MurvelColorScheme scheme) {
        return (scheme == MurvelColorScheme::dark ? dark : light).color();
    }
};

} // namespace MurvelUI
