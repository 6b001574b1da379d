#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace MurvelUI {

// The one extra round button a caller may add to the panel footer, between "Preferences" and
// "Getting Started".
struct PanelFooterAction {
    // The symbol's name.
    QString symbol;
    // Tooltip and accessible name.
    QString title;
    // Short text appended to the version line after a "·".
    std::optional<QString> badge;
    // A small dot in the brand accent on the button.
    bool showsDot = false;
    std::function<void()> perform;

    // The same action running `action` instead.
    PanelFooterAction performing(std::function<void()> action) const {
        PanelFooterAction copy = *this;
        copy.perform = std::move(action);
        return copy;
    }
};

} // namespace MurvelUI
