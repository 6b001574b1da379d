#pragma once

#include "MurvelUI/Brand/MurvelTextStyle.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"

#include <QFont>
#include <array>
#include <optional>

class QWidget;

namespace MurvelUI {

// The kit's font roles. Each maps to a text style, so it grows and shrinks with the text size.
enum class MurvelFont {
    title,           // large title, bold
    text,            // title 2
    textSemibold,    // title 2, semibold
    support,         // title 3
    supportSemibold, // title 3, semibold
    heading,         // headline
    welcomeTitle,    // title 2, bold
    mark,            // title 2
    detail,          // callout
    detailSemibold,  // callout, semibold
    keyCap,          // callout, semibold
    versionLine,     // caption
    footerSymbol,    // title 3
    readout,         // title, semibold, monospaced digits
};

inline constexpr std::array<MurvelFont, 14> allMurvelFonts = {
    MurvelFont::title,           MurvelFont::text,
    MurvelFont::textSemibold,    MurvelFont::support,
    MurvelFont::supportSemibold, MurvelFont::heading,
    MurvelFont::welcomeTitle,    MurvelFont::mark,
    MurvelFont::detail,          MurvelFont::detailSemibold,
    MurvelFont::keyCap,          MurvelFont::versionLine,
    MurvelFont::footerSymbol,    MurvelFont::readout,
};

// The text style a role is built on and the weight it sets, if any.
MurvelTextStyle textStyleOf(MurvelFont role);
std::optional<QFont::Weight> weightOf(MurvelFont role);

// The role's font at a text size.
//
// `readout` asks for monospaced digits; Qt 6.4 cannot switch font features on, so it relies on
// the family's default figures, which are tabular in the common UI families.
QFont fontFor(MurvelFont role, MurvelTypeSize typeSize = MurvelTypeSize::large);

// Sets the widget's font to the role's font at its window's text size, as setting that font
// directly would, and sets it again whenever the text size or the widget's window changes.
// Children without a font of their own inherit it.
void applyFont(QWidget* widget, MurvelFont role);
// The same for a text style at a weight (the style's own weight when none is given).
void applyFont(QWidget* widget, MurvelTextStyle style, std::optional<QFont::Weight> weight = std::nullopt);

} // namespace MurvelUI
