#include "MurvelUI/Windows/WelcomeWindow.hpp"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWidget>

namespace MurvelUI {

namespace {

QPointer<QWidget>& theWindow() {
    static QPointer<QWidget> window;
    return window;
}

} // namespace

QWidget* WelcomeWindow::window() {
    return theWindow().data();
}

QWidget* WelcomeWindow::show(const QString& title, const FixedWindow::ContentBuilder& content) {
    QPointer<QWidget>& window = theWindow();
    if (!window) {
        window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowCloseButtonHint);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setAttribute(Qt::WA_QuitOnClose, false);
        window->setWindowTitle(title);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        // The content's own layout sizes this window.
        layout->setSizeConstraint(QLayout::SetFixedSize);
        if (QWidget* built = content ? content() : nullptr)
            layout->addWidget(built);
        qAddPostRoutine([] { delete theWindow().data(); });
    }
    if (!window->isVisible()) {
        window->adjustSize();
        FixedWindow::centerOnMouseScreen(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WelcomeWindow::close() {
    if (QWidget* window = theWindow().data())
        window->close();
}

} // namespace MurvelUI
