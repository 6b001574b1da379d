#include "Dialcove/Views/ContactButtonBody.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "MurvelUI/Brand/LabelContrast.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace Dialcove {

namespace {

constexpr int leastHeight = 32;
constexpr qreal symbolGap = 6;
// Room on each side of the title, so that a row of tiles never packs titles edge to edge.
constexpr qreal titleInset = 10;

} // namespace

ContactButtonBody::ContactButtonBody(const QString& title, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol) {
    setText(title);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ContactButtonBody::setSelected(bool selected) {
    if (selected == style_.isSelected)
        return;
    style_.isSelected = selected;
    update();
    emit selectedChanged();
}

void ContactButtonBody::setHovered(bool hovered) {
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    update();
    emit hoveredChanged();
}

QColor ContactButtonBody::fill(MurvelUI::MurvelColorScheme scheme) const {
    return style_.fill(hovered_, isDown(), scheme);
}

QColor ContactButtonBody::labelColor(MurvelUI::MurvelColorScheme scheme) const {
    if (style_.isSelected)
        return MurvelUI::labelColorOn(appBrand().color);
    return MurvelUI::SystemPalette::primary(scheme);
}

qreal ContactButtonBody::symbolSide() const {
    return symbol_.isEmpty() ? 0 : std::ceil(QFontMetricsF(font()).height());
}

QSize ContactButtonBody::sizeHint() const {
    const QFontMetricsF metrics(font());
    qreal width = metrics.horizontalAdvance(text());
    if (!symbol_.isEmpty())
        width += symbolSide() + symbolGap;
    width += 2 * titleInset;
    return {int(std::ceil(width)), std::max(leastHeight, int(std::ceil(metrics.height())))};
}

QSize ContactButtonBody::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

MurvelUI::MurvelAccessibility ContactButtonBody::accessibility() const {
    auto info = MurvelUI::MurvelAccessibility::combined(QAccessible::Button, text());
    info.selected = style_.isSelected;
    return info;
}

void ContactButtonBody::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelUI::MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
    painter.setOpacity(ContactButtonStyle::opacity(isEnabled()));
    painter.setPen(Qt::NoPen);
    painter.fillPath(
        MurvelUI::MurvelShape::roundedRectangle(ContactButtonStyle::cornerRadius).path(QRectF(rect())),
        fill(scheme));

    // Symbol and title as one group, centred. When both do not fit (the largest text size), the
    // symbol gives way to the title; a title too long alone ends in an ellipsis.
    const QFontMetricsF metrics(font());
    qreal side = symbolSide();
    if (side > 0 && side + symbolGap + metrics.horizontalAdvance(text()) > width())
        side = 0;
    const qreal lead = side > 0 ? side + symbolGap : 0;
    const QString title = metrics.elidedText(text(), Qt::ElideRight, std::max<qreal>(0, width() - lead));
    const qreal groupWidth = lead + metrics.horizontalAdvance(title);
    qreal x = std::round((width() - groupWidth) / 2);
    const QColor label = labelColor(scheme);
    const qreal baseline = std::round((height() - metrics.height()) / 2 + metrics.ascent());
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    if (side > 0) {
        const qreal symbolX = rightToLeft ? width() - x - side : x;
        const QRectF box(symbolX, baseline - metrics.capHeight() / 2 - side / 2, side, side);
        MurvelUI::MurvelSymbols::paint(painter, symbol_, box, label);
    }
    painter.setPen(label);
    painter.setFont(font());
    const qreal textX = rightToLeft ? width() - x - lead - metrics.horizontalAdvance(title) : x + lead;
    painter.drawText(QPointF(textX, baseline), title);
}

bool ContactButtonBody::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        // The ring is made on first focus: a card may hold thousands of buttons, few ever focused.
        if (!ring_)
            ring_ = MurvelUI::BrandFocusRing::forKeyboardFocus(
                this, MurvelUI::MurvelShape::roundedRectangle(ContactButtonStyle::cornerRadius));
        break;
    case QEvent::HoverEnter:
        setHovered(true);
        break;
    case QEvent::HoverLeave:
        setHovered(false);
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void ContactButtonBody::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

} // namespace Dialcove
