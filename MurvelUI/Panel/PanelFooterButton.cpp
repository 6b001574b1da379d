#include "MurvelUI/Panel/PanelFooterButton.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

namespace MurvelUI {

PanelFooterButton::PanelFooterButton(const QString& title, const QString& symbol, bool showsDot,
                                     const MurvelColor& dotColor, std::function<void()> action,
                                     std::function<void(bool)> focusChanged, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol), showsDot_(showsDot), dotColor_(dotColor),
      focusChanged_(std::move(focusChanged)) {
    setToolTip(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    applyFont(this, MurvelFont::footerSymbol);
    BrandFocusRing::forKeyboardFocus(this, MurvelShape::circle());
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

PanelFooterButton::~PanelFooterButton() {
    // Going away counts as losing the focus, whether or not it had it.
    if (focusChanged_)
        focusChanged_(false);
}

MurvelAccessibility PanelFooterButton::accessibility() const {
    return MurvelAccessibility::element(QAccessible::Button, accessibleName(), {}, {});
}

bool PanelFooterButton::hitButton(const QPoint& position) const {
    const QPointF centre = QRectF(rect()).center();
    const qreal radius = std::min(width(), height()) / 2.0;
    const QPointF offset = QPointF(position) + QPointF(0.5, 0.5) - centre;
    return offset.x() * offset.x() + offset.y() * offset.y() <= radius * radius;
}

void PanelFooterButton::reportFocus(bool focused) {
    if (focused == reportedFocus_)
        return;
    reportedFocus_ = focused;
    if (focusChanged_)
        focusChanged_(focused);
}

bool PanelFooterButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
        hovered_ = true;
        update();
        break;
    case QEvent::HoverLeave:
        hovered_ = false;
        update();
        break;
    case QEvent::FocusIn:
        reportFocus(true);
        break;
    case QEvent::FocusOut:
        reportFocus(false);
        break;
    case QEvent::Hide:
        // A hidden button has gone from the panel: it holds no focus any more.
        if (focusChanged_)
            focusChanged_(false);
        reportedFocus_ = false;
        hovered_ = false;
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void PanelFooterButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    const QRectF box(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(hovered_ || isDown() ? BrandPalette::strongFill(scheme) : BrandPalette::fill(scheme));
    painter.drawEllipse(box);

    // The symbol at the size of a glyph of the footer symbol font.
    const qreal side = QFontMetricsF(font()).height() * 0.8;
    const QRectF symbolBox(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    MurvelSymbols::paint(painter, symbol_, symbolBox, SystemPalette::primary(scheme));

    if (showsDot_) {
        const bool rtl = layoutDirection() == Qt::RightToLeft;
        const QRectF dot(rtl ? box.left() : box.right() - 8, box.top(), 8, 8);
        painter.setBrush(dotColor_.resolve(scheme));
        painter.drawEllipse(dot);
    }
}

void PanelFooterButton::keyPressEvent(QKeyEvent* event) {
    if (!MurvelUI::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

} // namespace MurvelUI
