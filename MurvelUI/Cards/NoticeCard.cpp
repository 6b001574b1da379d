#include "MurvelUI/Cards/NoticeCard.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

NoticeCard::NoticeCard(const QString& symbol, const QString& title, const QString& message,
                       const QList<QWidget*>& actions, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::leading, parent),
      title_(new MurvelLabel(symbol, title)), message_(new MurvelText(message)),
      actions_(
          new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center)) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setPadding(12);
    setFillsWidth(true);
    title_->setSymbolColor(MurvelColor::of(&BrandPalette::attention));
    applyFont(title_, MurvelTextStyle::callout, QFont::DemiBold);
    applyFont(message_, MurvelTextStyle::callout);
    message_->setColor(MurvelColor::of(&BrandPalette::secondary));
    actions_->stack()->setWrapsWhenCrowded(true);
    for (QWidget* action : actions) {
        if (auto* button = qobject_cast<MurvelButton*>(action)) {
            button->setButtonStyle(MurvelButton::Style::bordered);
            button->setControlSize(MurvelControlSize::small);
        }
        actions_->stack()->addWidget(action, {});
    }
    stack()->addWidget(title_, {});
    stack()->addWidget(message_, {});
    // An empty row still takes its place, so every card keeps the same rhythm.
    stack()->addWidget(actions_, {});
}

void NoticeCard::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    const QPainterPath shape = MurvelShape::roundedRectangle(16).path(QRectF(rect()));
    painter.fillPath(shape, withOpacity(BrandPalette::attention(scheme), 0.12));
    painter.fillPath(shape, BrandPalette::fill(scheme));
}

} // namespace MurvelUI
