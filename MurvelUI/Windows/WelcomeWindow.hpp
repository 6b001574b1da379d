#pragma once

#include "MurvelUI/Windows/FixedWindow.hpp"

#include <QPointer>

namespace MurvelUI {

// A plain welcome window: a title and a close button, sized by its content's own layout, with no
// size reports and no keys of its own. Made on the first `show`, kept when closed, centred on the
// pointer's screen whenever it is shown while hidden; deleted when the application object goes.
// Main thread only.
class WelcomeWindow {
public:
    WelcomeWindow() = delete;

    // Shows the window, making it with `content` and `title` the first time only.
    static QWidget* show(const QString& title, const FixedWindow::ContentBuilder& content);
    // Closes the window when it exists.
    static void close();
    // The window, once made.
    static QWidget* window();
};

} // namespace MurvelUI
