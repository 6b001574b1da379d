#pragma once

#include "MurvelUI/Windows/FixedWindow.hpp"

namespace MurvelUI {

// The application's one welcome-steps window: a non-scrolling `FixedWindow` 560 points wide that
// closes with Control-W, keeps its top edge as it grows and takes the height its content reports
// through `MurvelEnvironment::fixedWindowIdealSize()`. Made on first use, kept when closed, shown
// again as it was; deleted when the application object goes. Main thread only.
class WelcomeStepsWindow {
public:
    WelcomeStepsWindow() = delete;

    // Shows the window, making it with `content` the first time. `title` and `content` count only
    // then; `onClose` runs after each close from now on.
    static QWidget* show(const QString& title, std::function<void()> onClose,
                         const FixedWindow::ContentBuilder& content);
    // Makes the window once, without showing it.
    static QWidget* makeWindow(const QString& title, std::function<void()> onClose,
                               const FixedWindow::ContentBuilder& content);
    // Closes the window when it exists (its `onClose` follows); else does nothing.
    static void close();

    // The owner's window object, made on first use of any of the above.
    static FixedWindow& fixedWindow();

    static constexpr int width = 560;
};

} // namespace MurvelUI
