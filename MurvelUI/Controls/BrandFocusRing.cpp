#include "MurvelUI/Controls/BrandFocusRing.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

namespace {

// Room around the control for the stroke, which reaches 1.5 points beyond its outline.
constexpr int margin = 2;

} // namespace

BrandFocusRing::BrandFocusRing(QWidget* control, const MurvelShape& shape)
    : QWidget(control->parentWidget() ? control->parentWidget() : control), control_(control), shape_(shape) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    control->installEventFilter(this);
    // Gone with the control, and never drawn around nothing meanwhile.
    connect(control, &QObject::destroyed, this, [this] {
        hide();
        deleteLater();
    });
}

BrandFocusRing* BrandFocusRing::forKeyboardFocus(QWidget* control, const MurvelShape& shape) {
    auto* ring = new BrandFocusRing(control, shape);
    ring->tracksFocus_ = true;
    ring->follow();
    return ring;
}

void BrandFocusRing::setOn(bool on) {
    if (on == on_)
        return;
    on_ = on;
    follow();
}

void BrandFocusRing::setShape(const MurvelShape& shape) {
    shape_ = shape;
    update();
}

QRectF BrandFocusRing::outline() const {
    return control_ ? QRectF(control_->rect()).adjusted(-1, -1, 1, 1) : QRectF();
}

bool BrandFocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (!control_ || watched != control_)
        return false;
    switch (event->type()) {
    case QEvent::ParentChange:
        setParent(control_->parentWidget() ? control_->parentWidget() : control_.data());
        follow();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        follow();
        break;
    default:
        if (event->type() == MurvelEnvironment::changeEventType())
            follow();
    }
    return false;
}

void BrandFocusRing::follow() {
    if (!control_)
        return;
    if (tracksFocus_)
        on_ = control_->hasFocus() && MurvelEnvironment::of(control_)->keyboardUsed();
    const bool show = on_ && !control_->isHidden() && parentWidget() != control_;
    if (!show) {
        hide();
        return;
    }
    setGeometry(control_->geometry().adjusted(-margin, -margin, margin, margin));
    raise();
    QWidget::show();
    update();
}

void BrandFocusRing::paintEvent(QPaintEvent*) {
    if (!control_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(BrandPalette::focusRing(MurvelEnvironment::of(this)->colorScheme()), 1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape_.path(outline().translated(margin, margin)));
}

} // namespace MurvelUI
