#include "MurvelUI/Preferences/PreferencesHeader.hpp"

#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Preferences/PreferencesHeading.hpp"

namespace MurvelUI {

PreferencesHeader::PreferencesHeader(const QString& title, bool showsIcon, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center, parent),
      title_(new PreferencesHeading(title)) {
    setFillsWidth(true);
    stack()->setMinimumCrossExtent(48);
    if (showsIcon) {
        icon_ = new AppIcon(48);
        stack()->addWidget(icon_, MurvelStackLayout::Options::framed(48));
    }
    applyFont(title_, MurvelFont::title);
    // Takes the rest of the row and wraps there.
    stack()->addWidget(title_, MurvelStackLayout::Options::filling());
}

void PreferencesHeader::setTitle(const QString& title) {
    title_->setText(title);
}

} // namespace MurvelUI
