#include "MurvelUI/Welcome/WelcomeStepDetail.hpp"

#include "MurvelUI/Brand/MurvelFont.hpp"

namespace MurvelUI {

WelcomeStepDetail::WelcomeStepDetail(int spacing, const QList<QWidget*>& content, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, spacing, MurvelStackLayout::Alignment::leading, parent) {
    applyFont(this, MurvelFont::support);
    setPadding(QMargins(32, 0, 0, 12));
    setFillsWidth(true);
    for (QWidget* item : content)
        stack()->addWidget(item, {});
}

} // namespace MurvelUI
