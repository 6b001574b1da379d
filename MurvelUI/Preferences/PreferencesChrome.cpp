#include "MurvelUI/Preferences/PreferencesChrome.hpp"

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QEvent>
#include <QPainter>

namespace MurvelUI {

PreferencesChrome::PreferencesChrome(const MurvelBrand& brand, int width, QWidget* content, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading, parent),
      brand_(brand), width_(width), content_(content), keys_(new KeyboardUseTracker(this)) {
    setPadding(insets());
    setFixedWidth(width);
    stack()->addWidget(content, MurvelStackLayout::Options::filling());
    connect(keys_, &KeyboardUseTracker::keyboardUsedChanged, this, &PreferencesChrome::keyboardUsedChanged);
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
    MurvelEnvironment::of(this)->setTint(
        MurvelColor(brand_.accent(MurvelColorScheme::light), brand_.accent(MurvelColorScheme::dark)));
}

void PreferencesChrome::showEvent(QShowEvent* event) {
    publish();
    MurvelStack::showEvent(event);
}

void PreferencesChrome::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        publish();
    MurvelStack::changeEvent(event);
}

} // namespace MurvelUI
