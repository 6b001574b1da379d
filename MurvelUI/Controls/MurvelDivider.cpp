#include "MurvelUI/MurvelDivider.hpp"

#include "MurvelUI/MurvelEnvironment.hpp"
#include "MurvelUI/SystemPalette.hpp"

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
