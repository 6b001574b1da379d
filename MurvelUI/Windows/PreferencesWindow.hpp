#pragma once

#include "MurvelUI/Windows/FixedWindow.hpp"

namespace MurvelUI {

// The application's one preferences window: a scrolling `FixedWindow` that closes with Control-W
// and keeps its top edge as it grows, 768 points wide for the sidebar layout (`wide`) and 560 for
// the single form. Made on first use, kept when closed, shown again as it was; deleted when the
// application object goes. Main thread only.
class PreferencesWindow {
public:
    PreferencesWindow() = delete;

    // Shows the window, making it with `content` the first time. `title`, `wide` and `content`
    // count only then; `onClose` runs after each close from now on.
    static QWidget* show(const QString& title, bool wide, std::function<void()> onClose,
                         const FixedWindow::ContentBuilder& content);
    // Makes the window once, without showing it.
    static QWidget* makeWindow(const QString& title, bool wide, std::function<void()> onClose,
                               const FixedWindow::ContentBuilder& content);
    // Closes the window when it exists (its `onClose` follows); else does nothing.
    static void close();

    // The owner's window object, made on first use of any of the above.
    static FixedWindow& fixedWindow();
};

} // namespace MurvelUI
