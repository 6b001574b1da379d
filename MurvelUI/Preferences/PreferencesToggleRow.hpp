#pragma once

#include "MurvelUI/Preferences/PreferencesRow.hpp"

#include <functional>

namespace MurvelUI {

class MurvelSwitch;

// A preference row whose control is a switch named by the row's title (the title itself is then
// hidden from screen readers, the note read as the switch's hint), in the window's tint, with the
// kit's capsule focus ring after keyboard use.
//
// With a request handler the switch is bound to a value held elsewhere: a flip calls `request`
// with the new position and leaves the switch as it is, and the owner shows what the value became
// with `setOn` (which never calls `request`). Without one the switch keeps its own position.
class PreferencesToggleRow : public PreferencesRow {
    Q_OBJECT
public:
    PreferencesToggleRow(const QString& title, const std::optional<QString>& note, bool isOn,
                         std::function<void(bool)> request = {}, QWidget* parent = nullptr);

    MurvelSwitch* toggle() const;
    bool isOn() const;
    void setOn(bool on);
};

} // namespace MurvelUI
