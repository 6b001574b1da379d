#include "MurvelUI/Preferences/PreferencesField.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace MurvelUI {

namespace {

constexpr int endPadding = 12;

} // namespace

PreferencesField::PreferencesField(MurvelFont role, QWidget* parent)
    : QWidget(parent), role_(role), edit_(new QLineEdit(this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(fieldHeight);
    setFocusProxy(edit_);
    edit_->setFrame(false);
    // Qt's own focus frame never shows here: the kit's ring is the one mark of focus.
    edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
    edit_->setAutoFillBackground(false);
    applyFont(edit_, role_);
    edit_->installEventFilter(this);
    // The owner reports focus: the ring follows the line edit, not this container.
    ring_ = new BrandFocusRing(this, MurvelShape::capsule());
    restyle();
}

PreferencesField* PreferencesField::detailField(QWidget* parent) {
    return new PreferencesField(MurvelFont::detail, parent);
}

QSize PreferencesField::sizeHint() const {
    return {edit_->sizeHint().width() + 2 * endPadding, fieldHeight};
}

QSize PreferencesField::minimumSizeHint() const {
    return {2 * endPadding, fieldHeight};
}

bool PreferencesField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        updateRing();
    return false;
}

bool PreferencesField::event(QEvent* event) {
    if (event->type() == MurvelEnvironment::changeEventType() || event->type() == QEvent::ParentChange ||
        event->type() == QEvent::Show) {
        restyle();
        updateRing();
    }
    return QWidget::event(event);
}

void PreferencesField::mousePressEvent(QMouseEvent* event) {
    // The padding belongs to the field: a click there focuses it, as a click on the text does.
    if (isEnabled())
        edit_->setFocus(Qt::MouseFocusReason);
    event->accept();
}

void PreferencesField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(BrandPalette::strongFill(MurvelEnvironment::of(this)->colorScheme()));
    painter.drawPath(MurvelShape::capsule().path(QRectF(rect())));
}

void PreferencesField::resizeEvent(QResizeEvent* event) {
    edit_->setGeometry(rect().adjusted(endPadding, 0, -endPadding, 0));
    QWidget::resizeEvent(event);
}

void PreferencesField::updateRing() {
    if (ring_)
        ring_->setOn(edit_->hasFocus() && MurvelEnvironment::of(this)->keyboardUsed());
}

void PreferencesField::restyle() {
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, SystemPalette::primary(scheme));
    palette.setColor(QPalette::PlaceholderText, BrandPalette::secondary(scheme));
    edit_->setPalette(palette);
}

} // namespace MurvelUI
