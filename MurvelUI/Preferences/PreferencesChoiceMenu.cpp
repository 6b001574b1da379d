#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"

#include "MurvelUI/Preferences/PreferencesMenuStyle.hpp"

namespace MurvelUI {

PreferencesChoiceMenu::PreferencesChoiceMenu(const QString& title, const QVariant& selection,
                                             const QVariantList& options, Label label, QWidget* parent)
    : ChoiceMenu(selection, options, std::move(label), parent) {
    applyPreferencesMenuStyle(this);
    setAccessibleName(title);
}

} // namespace MurvelUI
