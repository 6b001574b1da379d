#include "MurvelUI/Controls/MurvelButton.hpp"

#include "MurvelUI/Brand/LabelContrast.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace MurvelUI {

namespace {

constexpr qreal indicatorWidth = 7;
constexpr qreal indicatorGap = 6;

MurvelShape shapeFor(MurvelButton::Style style, MurvelControlSize size) {
    if (style != MurvelButton::Style::bordered)
        return MurvelShape::capsule();
    return MurvelShape::roundedRectangle(size == MurvelControlSize::small     ? 5
                                         : size == MurvelControlSize::regular ? 6
                                                                              : 8);
}

MurvelTextStyle textStyleFor(MurvelControlSize size) {
    return size == MurvelControlSize::small        ? MurvelTextStyle::subheadline
           : size == MurvelControlSize::extraLarge ? MurvelTextStyle::title3
                                                   : MurvelTextStyle::body;
}

QColor primaryAt(MurvelColorScheme scheme, double opacity) {
    return withOpacity(SystemPalette::primary(scheme), opacity);
}

} // namespace

MurvelButton::MurvelButton(const QString& title, QWidget* parent) : QAbstractButton(parent) {
    setText(title);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ring_ = BrandFocusRing::forKeyboardFocus(this, shape());
    restyle();
}

void MurvelButton::setButtonStyle(Style style) {
    if (style == style_)
        return;
    style_ = style;
    restyle();
}

void MurvelButton::setControlSize(MurvelControlSize size) {
    if (size == controlSize_)
        return;
    controlSize_ = size;
    restyle();
}

void MurvelButton::setOutline(std::optional<MurvelShape> outline) {
    if (outline == outline_)
        return;
    outline_ = outline;
    restyle();
}

void MurvelButton::setFontRole(std::optional<MurvelFont> role) {
    if (role == fontRole_)
        return;
    fontRole_ = role;
    restyle();
}

MurvelShape MurvelButton::shape() const {
    return outline_ ? *outline_ : shapeFor(style_, controlSize_);
}

void MurvelButton::restyle() {
    if (fontRole_)
        applyFont(this, *fontRole_);
    else
        applyFont(this, textStyleFor(controlSize_));
    if (ring_)
        ring_->setShape(shape());
    updateGeometry();
    update();
}

void MurvelButton::setTint(const QColor& tint) {
    if (tint == tint_)
        return;
    tint_ = tint;
    update();
}

void MurvelButton::setShowsMenuIndicator(bool shows) {
    if (shows == menuIndicator_)
        return;
    menuIndicator_ = shows;
    updateGeometry();
    update();
}

int MurvelButton::horizontalPadding() const {
    const int base = controlSize_ == MurvelControlSize::small     ? 8
                     : controlSize_ == MurvelControlSize::regular ? 10
                     : controlSize_ == MurvelControlSize::large   ? 14
                                                                  : 16;
    if (style_ == Style::plain)
        return 4;
    return style_ == Style::bordered ? base : base + 2;
}

int MurvelButton::minimumHeight() const {
    return controlSize_ == MurvelControlSize::small     ? 20
           : controlSize_ == MurvelControlSize::regular ? 24
           : controlSize_ == MurvelControlSize::large   ? 30
                                                        : 36;
}

int MurvelButton::verticalPadding() const {
    return controlSize_ == MurvelControlSize::small || controlSize_ == MurvelControlSize::regular ? 3 : 7;
}

int MurvelButton::indicatorExtent() const {
    return menuIndicator_ ? int(std::ceil(indicatorGap + indicatorWidth)) : 0;
}

std::optional<QRectF> MurvelButton::wrappedTitle(QSize size) const {
    if (size.width() >= sizeHint().width())
        return std::nullopt;
    const qreal available = std::max(1, size.width() - 2 * horizontalPadding() - indicatorExtent());
    const QRectF box = QFontMetricsF(font()).boundingRect(QRectF(0, 0, available, 1e6),
                                                          Qt::AlignHCenter | Qt::TextWordWrap, text());
    return QRectF(horizontalPadding(), (size.height() - box.height()) / 2, available, box.height());
}

int MurvelButton::heightForWidth(int width) const {
    const QSize ideal = sizeHint();
    const std::optional<QRectF> wrapped = wrappedTitle({width, ideal.height()});
    if (!wrapped)
        return ideal.height();
    return std::max(ideal.height(), int(std::ceil(wrapped->height())) + 2 * verticalPadding());
}

QSize MurvelButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    qreal width = metrics.horizontalAdvance(text()) + 2 * horizontalPadding();
    if (menuIndicator_)
        width += indicatorGap + indicatorWidth;
    const int vertical = verticalPadding();
    // An extra-large title is at least 25 points high, whatever its font.
    const int title =
        std::max(int(std::ceil(metrics.height())), controlSize_ == MurvelControlSize::extraLarge ? 25 : 0);
    const int height = std::max(minimumHeight(), title + 2 * vertical);
    return {int(std::ceil(width)), height};
}

int MurvelButton::firstBaseline(QSize size) const {
    const QFontMetricsF metrics(font());
    if (const std::optional<QRectF> wrapped = wrappedTitle(size))
        return int(std::round(wrapped->top() + metrics.ascent()));
    return int(std::round((size.height() - metrics.height()) / 2 + metrics.ascent()));
}

MurvelAccessibility MurvelButton::accessibility() const {
    return MurvelAccessibility::element(QAccessible::Button, text(), {}, accessibleDescription());
}

void MurvelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    const bool dark = scheme == MurvelColorScheme::dark;
    if (!isEnabled())
        painter.setOpacity(0.5);

    QColor fill;
    if (style_ == Style::plain) {
        fill = Qt::transparent;
    } else if (style_ == Style::glass) {
        fill = SystemPalette::glass(scheme);
        if (isDown())
            fill = primaryAt(scheme, dark ? 0.22 : 0.14);
        else if (underMouse() && isEnabled())
            fill.setAlphaF(std::min(1.0f, fill.alphaF() + 0.12f));
    } else if (style_ == Style::prominent) {
        fill = tint_.isValid() ? tint_ : SystemPalette::accent(scheme);
        fill.setAlpha(255);
        // The title's colour is chosen against the tint itself, pressed or not.
        if (isDown())
            fill = fill.darker(115);
        else if (underMouse() && isEnabled())
            fill = fill.lighter(108);
    } else {
        fill = primaryAt(scheme, isDown()                      ? (dark ? 0.26 : 0.18)
                                 : underMouse() && isEnabled() ? (dark ? 0.18 : 0.12)
                                                               : (dark ? 0.13 : 0.08));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(shape().path(QRectF(rect())));

    QColor label = style_ == Style::prominent
                       ? labelColorOn(tint_.isValid() ? tint_ : SystemPalette::accent(scheme))
                       : SystemPalette::primary(scheme);
    if (style_ == Style::plain) {
        label = tint_.isValid() ? tint_ : SystemPalette::accent(scheme);
        if (isDown())
            label = withOpacity(label, 0.6);
    }
    const QFontMetricsF metrics(font());
    const qreal contentWidth =
        metrics.horizontalAdvance(text()) + (menuIndicator_ ? indicatorGap + indicatorWidth : 0);
    const qreal x = (width() - contentWidth) / 2;
    painter.setPen(label);
    painter.setFont(font());
    const qreal baseline = firstBaseline(size());
    const std::optional<QRectF> wrapped = wrappedTitle(size());
    if (wrapped)
        painter.drawText(*wrapped, Qt::AlignHCenter | Qt::TextWordWrap, text());
    else
        painter.drawText(QPointF(x, baseline), text());
    if (menuIndicator_) {
        const qreal left =
            wrapped ? wrapped->right() + indicatorGap : x + metrics.horizontalAdvance(text()) + indicatorGap;
        const qreal middle = baseline - metrics.capHeight() / 2;
        QPen pen(label, 1.5);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        QPainterPath chevron;
        chevron.moveTo(left, middle - indicatorWidth / 4);
        chevron.lineTo(left + indicatorWidth / 2, middle + indicatorWidth / 4);
        chevron.lineTo(left + indicatorWidth, middle - indicatorWidth / 4);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(chevron);
    }
}

void MurvelButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

bool MurvelButton::event(QEvent* event) {
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
        update();
    return QAbstractButton::event(event);
}

void MurvelButton::keyPressEvent(QKeyEvent* event) {
    if (!MurvelUI::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

} // namespace MurvelUI
