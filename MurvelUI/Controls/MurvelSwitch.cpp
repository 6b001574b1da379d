#include "MurvelUI/Controls/MurvelSwitch.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"

#include <QPainter>

namespace MurvelUI {

MurvelSwitch::MurvelSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    BrandFocusRing::forKeyboardFocus(this, MurvelShape::capsule());
}

void MurvelSwitch::setTint(std::optional<MurvelColor> tint) {
    tint_ = std::move(tint);
    update();
}

QColor MurvelSwitch::onColor(MurvelColorScheme scheme) const {
    if (tint_)
        return tint_->resolve(scheme);
    if (const std::optional<MurvelColor> inherited = MurvelEnvironment::of(this)->tint())
        return inherited->resolve(scheme);
    return SystemPalette::accent(scheme);
}

void MurvelSwitch::setControlSize(MurvelControlSize size) {
    controlSize_ = size;
    updateGeometry();
    update();
}

void MurvelSwitch::setRequestHandler(std::function<void(bool)> request) {
    request_ = std::move(request);
}

QSize MurvelSwitch::sizeHint() const {
    switch (controlSize_) {
    case MurvelControlSize::small:
        return {32, 18};
    case MurvelControlSize::regular:
        return {38, 22};
    case MurvelControlSize::large:
    case MurvelControlSize::extraLarge:
        return {46, 26};
    }
    return {38, 22};
}

MurvelAccessibility MurvelSwitch::accessibility() const {
    return MurvelAccessibility::element(QAccessible::CheckBox, accessibleName(), {}, accessibleDescription());
}

void MurvelSwitch::nextCheckState() {
    if (request_)
        request_(!isChecked());
    else
        QAbstractButton::nextCheckState();
}

void MurvelSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    if (!isEnabled())
        painter.setOpacity(0.5);

    const QRectF track(rect());
    const QColor off =
        withOpacity(SystemPalette::primary(scheme), scheme == MurvelColorScheme::dark ? 0.16 : 0.1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? onColor(scheme) : off);
    painter.drawPath(MurvelShape::capsule().path(track));

    const qreal inset = 2;
    const qreal knob = track.height() - 2 * inset;
    const qreal x = isChecked() ? track.right() - inset - knob : track.left() + inset;
    const QRectF knobRect(x, track.top() + inset, knob, knob);
    painter.setPen(QPen(withOpacity(Qt::black, 0.12), 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
}

} // namespace MurvelUI
