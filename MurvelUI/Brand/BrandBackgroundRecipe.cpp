#include "MurvelUI/Brand/BrandBackgroundRecipe.hpp"

namespace MurvelUI {

std::array<ColorComponents, 3> BrandBackgroundRecipe::stops(bool dark, double red, double green,
                                                            double blue) {
    const double e = dark ? darkBase.red : lightBase.red;
    const double f = dark ? darkFactor : lightFactor;
    // Written as the two stops are defined; the different grouping can differ in the last bit.
    const auto first = [&](double b) { return e + f * (b - e); };
    const auto second = [&](double b) { return e + (b - e) * (f * 0.5); };
    return {{
        {first(red), first(green), first(blue)},
        {second(red), second(green), second(blue)},
        {e, e, e},
    }};
}

} // namespace MurvelUI
