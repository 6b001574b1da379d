#include "MurvelUI/Preferences/PreferencesLayout.hpp"

#include "MurvelUI/Preferences/PreferencesHeader.hpp"

namespace MurvelUI {

namespace {

MurvelStack* formStack(PreferencesHeader* header, QWidget* content) {
    auto* form =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 32, MurvelStackLayout::Alignment::leading);
    form->setFillsWidth(true);
    form->stack()->addWidget(header, MurvelStackLayout::Options::filling());
    form->stack()->addWidget(content, MurvelStackLayout::Options::filling());
    return form;
}

} // namespace

PreferencesLayout::PreferencesLayout(const MurvelBrand& brand, const QString& title, QWidget* content,
                                     QWidget* parent)
    : PreferencesLayout(brand, new PreferencesHeader(title, true), content, parent) {}

PreferencesLayout::PreferencesLayout(const MurvelBrand& brand, PreferencesHeader* header, QWidget* content,
                                     QWidget* parent)
    : PreferencesChrome(brand, outerWidth, formStack(header, content), parent), header_(header),
      formContent_(content) {}

} // namespace MurvelUI
