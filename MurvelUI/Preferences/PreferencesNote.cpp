#include "MurvelUI/Preferences/PreferencesNote.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

namespace MurvelUI {

PreferencesNote::PreferencesNote(const QString& text, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading, parent),
      text_(new MurvelText(text)) {
    setFillsWidth(true);
    setPadding(QMargins(0, 0, 0, 8));
    applyFont(text_, MurvelFont::support);
    text_->setColor(MurvelColor::of(&BrandPalette::secondary));
    stack()->addWidget(text_, MurvelStackLayout::Options::filling());
}

} // namespace MurvelUI
