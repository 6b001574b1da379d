#include "MurvelUI/Windows/ScrollEdgeStrip.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QPainter>
#include <QVariant>

namespace MurvelUI {

namespace {

// How the edge strip fades in and out.
constexpr int stripFadeMs = 150;

} // namespace

ScrollEdgeStrip::ScrollEdgeStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    fade_.setDuration(stripFadeMs);
    fade_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        opacity_ = value.toReal();
        setVisible(opacity_ > 0);
        update();
    });
    hide();
}

void ScrollEdgeStrip::setShown(bool shown) {
    if (shown == shown_)
        return;
    shown_ = shown;
    fade_.stop();
    fade_.setStartValue(opacity_);
    fade_.setEndValue(shown ? 1.0 : 0.0);
    fade_.start();
}

void ScrollEdgeStrip::paintEvent(QPaintEvent*) {
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    QPainter painter(this);
    painter.setOpacity(opacity_);
    // The bar's material: the window's own colour, a little of the content showing through.
    QColor bar = SystemPalette::windowBackground(scheme);
    bar.setAlphaF(0.9f);
    painter.fillRect(rect(), bar);
    painter.fillRect(QRect(0, height() - 1, width(), 1), SystemPalette::separator(scheme));
}

} // namespace MurvelUI
