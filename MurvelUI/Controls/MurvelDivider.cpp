#include "MurvelUI/Controls/MurvelDivider.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QPainter>

namespace MurvelUI {

MurvelDivider::MurvelDivider(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
}

void MurvelDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), SystemPalette::separator(MurvelEnvironment::of(this)->colorScheme()));
}

} // namespace MurvelUI
