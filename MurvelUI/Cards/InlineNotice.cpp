#include "MurvelUI/Cards/InlineNotice.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

InlineNotice::InlineNotice(NoticeKind kind, const QString& text, QWidget* trailing, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::firstBaseline,
                  parent),
      kind_(kind), symbol_(new MurvelSymbolView(symbolOf(kind), symbolColorOf(kind))),
      text_(new MurvelText(text)), trailing_(trailing) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    applyFont(this, MurvelFont::support);
    setPadding(12);
    setFillsWidth(true);
    stack()->addWidget(symbol_, MurvelStackLayout::Options::framed(20));
    stack()->addWidget(text_, {});
    stack()->addSpacer(0);
    if (trailing_)
        stack()->addWidget(trailing_, {});
}

MurvelAccessibility InlineNotice::accessibility() const {
    if (hasTrailing())
        return MurvelAccessibility::element(QAccessible::Grouping, {});
    return MurvelAccessibility::combined(QAccessible::StaticText, text_->text());
}

void InlineNotice::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(BrandPalette::fill(scheme));
    painter.drawPath(MurvelShape::roundedRectangle(12).path(QRectF(rect())));
}

} // namespace MurvelUI
