#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"

#include "MurvelUI/Windows/WindowOwnerSupport.hpp"

#include <QWidget>

namespace MurvelUI {

FixedWindow& WelcomeStepsWindow::fixedWindow() {
    return ownedFixedWindow<WelcomeStepsWindow>(true, true, false);
}

QWidget* WelcomeStepsWindow::show(const QString& title, std::function<void()> onClose,
                                  const FixedWindow::ContentBuilder& content) {
    return fixedWindow().show(title, width, std::move(onClose), content);
}

QWidget* WelcomeStepsWindow::makeWindow(const QString& title, std::function<void()> onClose,
                                        const FixedWindow::ContentBuilder& content) {
    return fixedWindow().makeWindow(title, width, std::move(onClose), content);
}

void WelcomeStepsWindow::close() {
    if (QWidget* window = fixedWindow().window())
        window->close();
}

} // namespace MurvelUI
