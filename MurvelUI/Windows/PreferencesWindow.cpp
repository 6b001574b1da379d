#include "MurvelUI/Windows/PreferencesWindow.hpp"

#include "MurvelUI/Windows/WindowOwnerSupport.hpp"

#include <QWidget>

namespace MurvelUI {

namespace {

int widthFor(bool wide) {
    return wide ? 768 : 560;
}

} // namespace

FixedWindow& PreferencesWindow::fixedWindow() {
    return ownedFixedWindow<PreferencesWindow>(true, true, true);
}

QWidget* PreferencesWindow::show(const QString& title, bool wide, std::function<void()> onClose,
                                 const FixedWindow::ContentBuilder& content) {
    return fixedWindow().show(title, widthFor(wide), std::move(onClose), content);
}

QWidget* PreferencesWindow::makeWindow(const QString& title, bool wide, std::function<void()> onClose,
                                       const FixedWindow::ContentBuilder& content) {
    return fixedWindow().makeWindow(title, widthFor(wide), std::move(onClose), content);
}

void PreferencesWindow::close() {
    if (QWidget* window = fixedWindow().window())
        window->close();
}

} // namespace MurvelUI
