#include "MurvelUI/Controls/MurvelLabel.hpp"

#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

namespace MurvelUI {

MurvelLabel::MurvelLabel(const QString& symbol, const QString& title, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 6, MurvelStackLayout::Alignment::firstBaseline,
                  parent),
      symbol_(new MurvelSymbolView(symbol)), title_(new MurvelText(title)) {
    stack()->addWidget(symbol_, {});
    stack()->addWidget(title_, {});
}

void MurvelLabel::setSymbolColor(const MurvelColor& color) {
    symbol_->setColor(color);
}
void MurvelLabel::setTitleColor(const MurvelColor& color) {
    title_->setColor(color);
}

MurvelAccessibility MurvelLabel::accessibility() const {
    return MurvelAccessibility::combined(QAccessible::StaticText, title_->text());
}

} // namespace MurvelUI
