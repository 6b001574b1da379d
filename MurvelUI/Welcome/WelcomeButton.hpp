#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Welcome/WelcomeStepsButton.hpp"

class QWidget;

namespace MurvelUI {

class MurvelButton;

// How the welcome pages draw their buttons, all as `MurvelButton`s at the extra-large size with a
// one-line title that is never cut:
// - prominent (a page's main button): a capsule of the brand colour, at half opacity while
//   disabled, the title in title 3 semibold, black or white, whichever reads better on the brand;
// - bordered (every other button): the kit's quiet fill in a capsule, the title in title 3.
// A disabled description disables the button; it never enables a button whose parent is disabled.
struct WelcomeButton {
    WelcomeButton() = delete;

    static MurvelButton* make(const WelcomeStepsButton& button, const MurvelBrand& brand, bool prominent,
                              QWidget* parent = nullptr);
    // Shows `button`'s title and state on `target` and runs its action from now on, in place of
    // the one it ran before.
    static void apply(MurvelButton* target, const WelcomeStepsButton& button);
};

} // namespace MurvelUI
