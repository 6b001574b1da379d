#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>

namespace Dialcove {

// Dialcove's brand, made once and shared by every view of the app.
const MurvelUI::MurvelBrand& appBrand();

// The brand colour at 0.16: the fill of the selected result row and of the card's selected block.
QColor appSelectionFill();

// The primary colour at 0.08: the resting tile of the contact card's buttons.
QColor appQuietFill(MurvelUI::MurvelColorScheme scheme);

} // namespace Dialcove
