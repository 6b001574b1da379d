#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QPalette>

namespace MurvelUI {

MurvelColorScheme colorSchemeOf(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? MurvelColorScheme::dark
                                                              : MurvelColorScheme::light;
}

} // namespace MurvelUI
