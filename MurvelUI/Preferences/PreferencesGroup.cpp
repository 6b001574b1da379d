#include "MurvelUI/Preferences/PreferencesGroup.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Preferences/PreferencesHeading.hpp"

#include <QPainter>

namespace MurvelUI {

namespace {

class GroupCard final : public MurvelStack {
public:
    GroupCard() : MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading) {
        setPadding(QMargins(16, 8, 16, 8));
        setFillsWidth(true);
    }

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override {
        painter.setPen(Qt::NoPen);
        painter.setBrush(BrandPalette::fill(scheme));
        painter.drawPath(MurvelShape::roundedRectangle(16).path(QRectF(rect())));
    }
};

} // namespace

PreferencesGroup::PreferencesGroup(const QString& title, const QList<QWidget*>& rows, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::leading, parent),
      title_(new PreferencesHeading(title)), card_(new GroupCard) {
    setFillsWidth(true);
    applyFont(title_, MurvelFont::textSemibold);
    stack()->addWidget(title_, {});
    stack()->addWidget(card_, MurvelStackLayout::Options::filling());
    for (QWidget* row : rows)
        addRow(row);
}

void PreferencesGroup::addRow(QWidget* row) {
    card_->stack()->addWidget(row, MurvelStackLayout::Options::filling());
}

} // namespace MurvelUI
