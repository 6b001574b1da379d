#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"

#include "MurvelUI/Controls/MurvelSwitch.hpp"

namespace MurvelUI {

namespace {

MurvelSwitch* makeToggle(const QString& title, bool isOn, std::function<void(bool)> request) {
    auto* toggle = new MurvelSwitch;
    toggle->setAccessibleName(title);
    toggle->setChecked(isOn);
    if (request)
        toggle->setRequestHandler(std::move(request));
    return toggle;
}

} // namespace

PreferencesToggleRow::PreferencesToggleRow(const QString& title, const std::optional<QString>& note,
                                           bool isOn, std::function<void(bool)> request, QWidget* parent)
    : PreferencesRow(title, note, true, makeToggle(title, isOn, std::move(request)), parent) {}

MurvelSwitch* PreferencesToggleRow::toggle() const {
    return static_cast<MurvelSwitch*>(control());
}

bool PreferencesToggleRow::isOn() const {
    return toggle()->isChecked();
}

void PreferencesToggleRow::setOn(bool on) {
    toggle()->setChecked(on);
}

} // namespace MurvelUI
