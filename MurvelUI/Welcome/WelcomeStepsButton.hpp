#pragma once

#include <QString>
#include <functional>

namespace MurvelUI {

// What a button of the welcome steps shows and does: its title, whether it is shown but cannot be
// used, and the action a press runs.
struct WelcomeStepsButton {
    QString title;
    bool isDisabled = false;
    std::function<void()> action;
};

} // namespace MurvelUI
