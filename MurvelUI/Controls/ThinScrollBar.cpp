#include "MurvelUI/Controls/ThinScrollBar.hpp"

#include <QScrollBar>

namespace MurvelUI {

void ThinScrollBar::apply(QScrollBar* bar) {
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 0 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 0.55); border-radius: 3px;"
        " min-height: 24px; margin: 0 1px 0 1px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

} // namespace MurvelUI
