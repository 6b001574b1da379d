#pragma once

namespace MurvelUI {

// A window's record of whether the user has used the keyboard in it. The window chrome keeps one,
// starting false (and again each time it starts watching the keyboard), and publishes its value as
// `MurvelEnvironment::keyboardUsed`.
struct BrandFocusSession {
    bool keyboardUsed = false;

    friend bool operator==(const BrandFocusSession&, const BrandFocusSession&) = default;
};

} // namespace MurvelUI
