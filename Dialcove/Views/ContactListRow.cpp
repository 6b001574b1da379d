#include "Dialcove/Views/ContactListRow.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"
#include "DialcoveCore/DisplayText.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>

namespace Dialcove {

using MurvelUI::MurvelColorScheme;

namespace {

constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 4;
constexpr int avatarSize = 32;
constexpr int gap = 12;
constexpr int lineSpacing = 4;
constexpr int minimumRowHeight = 44;

} // namespace

ContactListRow::ContactListRow(DialcoveCore::Contact contact, PanelKeyboard& keyboard, QWidget* parent)
    : QAbstractButton(parent), contact_(std::move(contact)),
      initials_(QString::fromStdString(DialcoveCore::withoutBidiControls(contact_.initials()))),
      name_(QString::fromStdString(DialcoveCore::withoutBidiControls(contact_.displayName()))),
      subtitle_(QString::fromStdString(DialcoveCore::isolatedSubtitle(contact_.subtitle()))) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    MurvelUI::applyFont(this, MurvelUI::MurvelFont::detail);
    const QString name = QString::fromStdString(DialcoveCore::isolated(contact_.displayName()));
    setAccessibleName(subtitle_.isEmpty() ? name : name + QStringLiteral(", ") + subtitle_);
    MurvelUI::BrandFocusRing::forKeyboardFocus(this, MurvelUI::MurvelShape::roundedRectangle(8));
    PanelControlFocus::attach(this, &keyboard);
}

void ContactListRow::setSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    update();
}

QFont ContactListRow::nameFont() const {
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    return bold;
}

int ContactListRow::textHeight() const {
    const int name = QFontMetrics(nameFont()).height();
    return subtitle_.isEmpty() ? name : name + lineSpacing + QFontMetrics(font()).height();
}

QSize ContactListRow::sizeHint() const {
    const int height = std::max(minimumRowHeight, std::max(avatarSize, textHeight()) + 2 * verticalPadding);
    return {2 * horizontalPadding + avatarSize + gap + 40, height};
}

QSize ContactListRow::minimumSizeHint() const {
    return sizeHint();
}

MurvelUI::MurvelAccessibility ContactListRow::accessibility() const {
    MurvelUI::MurvelAccessibility info =
        MurvelUI::MurvelAccessibility::element(QAccessible::Button, accessibleName(), {}, {});
    return info;
}

QRect ContactListRow::nameRect() const {
    const int left = horizontalPadding + avatarSize + gap;
    const int top = (height() - textHeight()) / 2;
    return {left, top, std::max(0, width() - left - horizontalPadding), QFontMetrics(nameFont()).height()};
}

QRect ContactListRow::subtitleRect() const {
    if (subtitle_.isEmpty())
        return {};
    const QRect name = nameRect();
    return {name.left(), name.bottom() + 1 + lineSpacing, name.width(), QFontMetrics(font()).height()};
}

void ContactListRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
    const QColor primary = MurvelUI::SystemPalette::primary(scheme);
    painter.setPen(Qt::NoPen);
    if (selected_) {
        painter.setBrush(appSelectionFill());
        painter.drawPath(MurvelUI::MurvelShape::roundedRectangle(8).path(QRectF(rect())));
    }

    // Rows read left to right whatever the name's script; the name itself keeps its own direction.
    const QRectF avatar(horizontalPadding, (height() - avatarSize) / 2.0, avatarSize, avatarSize);
    painter.setBrush(MurvelUI::SystemPalette::quaternary(scheme));
    painter.drawEllipse(avatar);
    painter.setPen(primary);
    // At the largest text sizes the initials shrink to stay inside their circle.
    QFont initialsFont = nameFont();
    const qreal initialsWidth = QFontMetricsF(initialsFont).horizontalAdvance(initials_);
    if (initialsWidth > avatarSize - 6)
        initialsFont.setPixelSize(
            std::max(1, int(initialsFont.pixelSize() * (avatarSize - 6) / initialsWidth)));
    painter.setFont(initialsFont);
    painter.drawText(avatar, Qt::AlignCenter, initials_);
    painter.setFont(nameFont());

    const QRect name = nameRect();
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(nameFont()).elidedText(name_, Qt::ElideRight, name.width()));
    if (!subtitle_.isEmpty()) {
        const QRect subtitle = subtitleRect();
        painter.setFont(font());
        painter.setPen(MurvelUI::BrandPalette::secondary(scheme));
        painter.drawText(subtitle, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(font()).elidedText(subtitle_, Qt::ElideRight, subtitle.width()));
    }
}

void ContactListRow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void ContactListRow::keyPressEvent(QKeyEvent* event) {
    if (!MurvelUI::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

} // namespace Dialcove
