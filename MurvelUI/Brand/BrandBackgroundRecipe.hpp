#pragma once

#include "MurvelUI/Brand/ColorComponents.hpp"

#include <array>

namespace MurvelUI {

// The colour rule of the brand background as plain numbers: a base (dark grey or white) mixed
// toward the brand colour by a factor at the first stop, by half of it at the second, not at all at
// the third.
struct BrandBackgroundRecipe {
    BrandBackgroundRecipe() = delete;

    static constexpr double darkFactor = 0.2;
    static constexpr double lightFactor = 0.098;
    static constexpr ColorComponents darkBase{20.0 / 255, 20.0 / 255, 20.0 / 255};
    static constexpr ColorComponents lightBase{1, 1, 1};

    // The three stop colours for a brand colour, in stop order.
    static std::array<ColorComponents, 3> stops(bool dark, double red, double green, double blue);
};

} // namespace MurvelUI
