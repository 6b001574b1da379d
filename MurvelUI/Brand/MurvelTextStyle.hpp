#pragma once

#include "MurvelUI/Brand/MurvelTypeSize.hpp"

#include <QFont>
#include <QString>
#include <optional>

namespace MurvelUI {

// The system text styles that the font roles and the kit's views are built from.
enum class MurvelTextStyle {
    largeTitle,
    title,
    title2,
    title3,
    headline,
    body,
    callout,
    subheadline,
    footnote,
    caption,
    caption2,
};

// The style's size in points (device-independent pixels) at a text size.
int textStylePixelSize(MurvelTextStyle style, MurvelTypeSize typeSize);

// The style's font: the kit's family at the style's size, in `weight` or the style's own weight
// (bold for the headline, regular for the others).
QFont textStyleFont(MurvelTextStyle style, MurvelTypeSize typeSize = MurvelTypeSize::large,
                    std::optional<QFont::Weight> weight = std::nullopt);

// The family every kit font uses: the system UI font unless set, for example by a render that
// must come out the same on every machine. An empty family goes back to the system font.
QString kitFontFamily();
void setKitFontFamily(const QString& family);

} // namespace MurvelUI
