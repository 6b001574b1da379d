#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"

namespace Gallery {

// The brand the window pages are drawn in.
inline const MurvelUI::MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143),
                                         MurvelUI::MurvelBrand::Connection::offline, QColor(72, 200, 182),
                                         QColor(15, 138, 125)};

// Each window page is drawn light, dark and at the largest text size.
struct Variant {
    const char* suffix;
    MurvelUI::MurvelColorScheme scheme;
    MurvelUI::MurvelTypeSize size;
};

inline const Variant variants[] = {
    {"light", MurvelUI::MurvelColorScheme::light, MurvelUI::MurvelTypeSize::large},
    {"dark", MurvelUI::MurvelColorScheme::dark, MurvelUI::MurvelTypeSize::large},
    {"accessibility5", MurvelUI::MurvelColorScheme::light, MurvelUI::MurvelTypeSize::accessibility5}};

} // namespace Gallery
