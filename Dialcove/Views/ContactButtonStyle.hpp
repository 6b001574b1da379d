#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>

namespace Dialcove {

// The tile behind the contact card's action and edit buttons: the solid brand colour for the card's
// current selection, else the primary colour at 0.16 under the pointer or while pressed and at 0.08
// at rest. A disabled button keeps its fill at half opacity. The label colour is the card's to pick.
struct ContactButtonStyle {
    bool isSelected = false;

    // Selection wins over hover and press.
    QColor fill(bool isHovered, bool isPressed, MurvelUI::MurvelColorScheme scheme) const;
    // 1 when enabled, else 0.5.
    static qreal opacity(bool isEnabled);
    // The tile's corner radius.
    static constexpr qreal cornerRadius = 4;
};

} // namespace Dialcove
