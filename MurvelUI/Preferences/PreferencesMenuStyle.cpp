#include "MurvelUI/Preferences/PreferencesMenuStyle.hpp"

#include "MurvelUI/Controls/MurvelButton.hpp"

namespace MurvelUI {

void applyPreferencesMenuStyle(MurvelButton* button) {
    button->setButtonStyle(MurvelButton::Style::bordered);
    button->setControlSize(MurvelControlSize::large);
    button->setFontRole(MurvelFont::support);
    button->setOutline(MurvelShape::capsule());
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace MurvelUI
