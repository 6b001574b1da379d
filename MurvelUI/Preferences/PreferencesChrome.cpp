#include "MurvelUI/Preferences/PreferencesChrome.hpp"

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QEvent>
#include <QPainter>

namespace MurvelUI {

PreferencesChrome::PreferencesChrome(const MurvelBrand& brand, int width, QWidget* content, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading, parent),
      brand_(brand), width_(width), content_(content) {
    setPadding(insets());
    setFixedWidth(width);
    stack()->addWidget(content, MurvelStackLayout::Options::filling());
    watchWindow();
    publish();
}

QSize PreferencesChrome::sizeHint() const {
    return {width_, heightForWidth(width_)};
}

int PreferencesChrome::heightForWidth(int) const {
    return stack()->heightForWidth(width_);
}

void PreferencesChrome::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    BrandBackground::paint(painter, QRectF(rect()), brand_.color, scheme, layoutDirection());
}

void PreferencesChrome::publish() {
    MurvelEnvironment* environment = MurvelEnvironment::of(this);
    environment->setTint(
        MurvelColor(brand_.accent(MurvelColorScheme::light), brand_.accent(MurvelColorScheme::dark)));
    environment->setKeyboardUsed(keyboardUsed_);
}

void PreferencesChrome::setKeyboardUsed(bool used) {
    if (used == keyboardUsed_)
        return;
    keyboardUsed_ = used;
    MurvelEnvironment::of(this)->setKeyboardUsed(used);
    emit keyboardUsedChanged(used);
}

void PreferencesChrome::install() {
    QPointer<PreferencesChrome> self(this);
    keys_.start([self] {
        if (self)
            self->setKeyboardUsed(true);
    });
}

void PreferencesChrome::watchWindow() {
    QWidget* current = window();
    if (current == watchedWindow_)
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = current;
    current->installEventFilter(this);
}

void PreferencesChrome::showEvent(QShowEvent* event) {
    watchWindow();
    publish();
    appearsActive_ = window()->isActiveWindow();
    if (appearsActive_)
        install();
    MurvelStack::showEvent(event);
}

void PreferencesChrome::hideEvent(QHideEvent* event) {
    keys_.stop();
    MurvelStack::hideEvent(event);
}

void PreferencesChrome::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        watchWindow();
        publish();
    }
    MurvelStack::changeEvent(event);
}

bool PreferencesChrome::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_) {
        if (event->type() == QEvent::WindowActivate)
            activeChanged(true);
        else if (event->type() == QEvent::WindowDeactivate)
            activeChanged(false);
    }
    return MurvelStack::eventFilter(watched, event);
}

void PreferencesChrome::activeChanged(bool active) {
    if (active == appearsActive_)
        return;
    appearsActive_ = active;
    if (!isVisible())
        return;
    if (active) {
        setKeyboardUsed(false);
        install();
    } else {
        keys_.stop();
    }
}

} // namespace MurvelUI
