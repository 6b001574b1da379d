#pragma once

#include "MurvelUI/Windows/FixedWindow.hpp"

#include <QCoreApplication>

namespace MurvelUI {

// The one `FixedWindow` behind a window owner (kit-internal): made on first use with the owner's
// flags and kept for the rest of the application. It is deleted when the application object goes,
// before Qt tears its widgets down, so that no window outlives the application.
template <typename Owner>
FixedWindow& ownedFixedWindow(bool closesWithCommandW, bool anchorsTop, bool scrollsContent) {
    static FixedWindow* window = nullptr;
    if (!window) {
        window = new FixedWindow(closesWithCommandW, anchorsTop, scrollsContent);
        qAddPostRoutine([] {
            delete window;
            window = nullptr;
        });
    }
    return *window;
}

} // namespace MurvelUI
