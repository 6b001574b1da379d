#include "MurvelUI/Preferences/PreferencesDestructiveLabel.hpp"

#include "MurvelUI/Controls/MurvelText.hpp"

namespace MurvelUI {

QColor PreferencesDestructiveLabel::color(MurvelColorScheme scheme) {
    return scheme == MurvelColorScheme::dark ? QColor(255, 170, 160) : QColor(152, 34, 27);
}

void PreferencesDestructiveLabel::apply(MurvelText* label) {
    label->setColor(MurvelColor::of(&PreferencesDestructiveLabel::color));
}

} // namespace MurvelUI
