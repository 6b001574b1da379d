#include "MurvelUI/Preferences/PreferencesValueRow.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

namespace MurvelUI {

PreferencesValueRow::PreferencesValueRow(const QString& title, const QString& value, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::firstBaseline,
                  parent),
      title_(new MurvelText(title)), value_(new MurvelText(value)) {
    setFillsWidth(true);
    applyFont(this, MurvelFont::support);
    stack()->setMinimumCrossExtent(32);
    title_->setColor(MurvelColor::of(&BrandPalette::secondary));
    value_->setTextAlignment(Qt::AlignTrailing);
    stack()->addWidget(title_, {});
    stack()->addSpacer(8);
    stack()->addWidget(value_, {});
}

void PreferencesValueRow::setValue(const QString& value) {
    value_->setText(value);
}

MurvelAccessibility PreferencesValueRow::accessibility() const {
    return MurvelAccessibility::combined(QAccessible::StaticText, title_->text(), value_->text());
}

} // namespace MurvelUI
