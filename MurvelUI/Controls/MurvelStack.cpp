#include "MurvelUI/Controls/MurvelStack.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QPainter>

namespace MurvelUI {

MurvelStack::MurvelStack(MurvelStackLayout::Axis axis, int spacing, MurvelStackLayout::Alignment alignment,
                         QWidget* parent)
    : QWidget(parent), stack_(new MurvelStackLayout(axis, spacing, alignment, this)) {}

void MurvelStack::setPadding(const QMargins& padding) {
    stack_->setContentsMargins(padding);
}

void MurvelStack::setFillsWidth(bool fills) {
    QSizePolicy policy = sizePolicy();
    policy.setHorizontalPolicy(fills ? QSizePolicy::Expanding : QSizePolicy::Preferred);
    setSizePolicy(policy);
}

void MurvelStack::paintBackground(QPainter&, MurvelColorScheme) {}

void MurvelStack::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBackground(painter, MurvelEnvironment::of(this)->colorScheme());
}

} // namespace MurvelUI
