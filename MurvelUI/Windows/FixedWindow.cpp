#include "MurvelUI/Windows/FixedWindow.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Windows/FixedNativeWindow.hpp"
#include "MurvelUI/Windows/FixedWindowContent.hpp"
#include "MurvelUI/Windows/FixedWindowGeometry.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace MurvelUI {

namespace {

// The height a window has before its content reports.
constexpr int initialHeight = 480;

} // namespace

FixedWindow::FixedWindow(bool closesWithCommandW, bool anchorsTop, bool scrollsContent, QObject* parent)
    : QObject(parent), closesWithCommandW_(closesWithCommandW), anchorsTop_(anchorsTop),
      scrollsContent_(scrollsContent) {}

FixedWindow::~FixedWindow() {
    delete window_.data();
}

QWidget* FixedWindow::window() const {
    return window_.data();
}

QWidget* FixedWindow::makeWindow(const QString& title, int width, std::function<void()> onClose,
                                 const ContentBuilder& content) {
    onClose_ = std::move(onClose);
    if (window_)
        return window_;

    auto* window = new FixedNativeWindow;
    window->setClosesWithCommandW(closesWithCommandW_);
    window->setWindowTitle(title);
    window->setFixedSize(width, initialHeight);
    QPointer<FixedWindow> self(this);
    const auto forward = [self](QSizeF size) {
        if (self)
            self->report(size);
    };
    if (!scrollsContent_) {
        MurvelEnvironment::of(window)->setFixedWindowIdealSize(FixedWindowSizeReport{forward});
    }
    QWidget* built = content ? content() : nullptr;
    if (!built)
        built = new QWidget;
    content_ = new FixedWindowContent(built, width, scrollsContent_, forward);
    window->setContent(content_);
    connect(window, &FixedNativeWindow::closed, this, [this] {
        // A copy, so that the closure may replace itself.
        const std::function<void()> handler = onClose_;
        if (handler)
            handler();
    });
    connect(window, &FixedNativeWindow::frameMarginsChanged, this, [this] {
        // Centred before the window manager framed it, the window was centred without its frame.
        if (centredMargins_ && window_->isVisible() && window_->frameMargins() != *centredMargins_)
            centre();
    });
    connect(window, &FixedNativeWindow::closed, this, [this] { centredMargins_.reset(); });
    connect(window, &FixedNativeWindow::screenChanged, this, [this] {
        // Re-capped and re-clamped for the new screen.
        if (contentSize_)
            resize(*contentSize_);
    });
    window_ = window;
    return window;
}

QWidget* FixedWindow::show(const QString& title, int width, std::function<void()> onClose,
                           const ContentBuilder& content) {
    QWidget* window = makeWindow(title, width, std::move(onClose), content);
    const bool wasHidden = !window->isVisible();
    if (wasHidden) {
        if (anchorsTop_) {
            if (contentSize_)
                resize(*contentSize_);
            centre();
            centersAfterResize_ = !contentSize_.has_value();
        } else {
            centre();
            centersAfterResize_ = false;
        }
    }
    window->show();
    // The window manager's frame is known only once the window is mapped: centre the real frame,
    // and again when the manager frames it later.
    if (wasHidden)
        centre();
    window->raise();
    window->activateWindow();
    return window;
}

void FixedWindow::report(QSizeF size) {
    if (!FixedWindowGeometry::acceptsContentSize(size))
        return;
    contentSize_ = size;
    if (resizePending_)
        return;
    resizePending_ = true;
    // One turn later, so that reports of this turn are applied once, with the newest size.
    QTimer::singleShot(0, this, [this] {
        resizePending_ = false;
        if (contentSize_)
            resize(*contentSize_);
    });
}

void FixedWindow::resize(QSizeF size) {
    if (!window_)
        return;
    QScreen* screen = window_->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins margins = window_->frameMargins();
    const QRect frame = FixedWindowGeometry::frame(size, screen->availableGeometry(),
                                                   window_->frameGeometry(), margins, anchorsTop_);
    if (frame != window_->frameGeometry()) {
        ++frameWrites_;
        window_->setFixedSize(frame.width() - margins.left() - margins.right(),
                              frame.height() - margins.top() - margins.bottom());
        window_->move(frame.topLeft());
    }
    if (centersAfterResize_) {
        centersAfterResize_ = false;
        centre();
    }
}

void FixedWindow::centre() {
    // At the size the window was given: a window manager that has just framed the window may still
    // report the size it was mapped at.
    const QMargins margins = window_->frameMargins();
    centerOnMouseScreen(window_, window_->minimumSize().grownBy(margins));
    centredMargins_ = margins;
}

void FixedWindow::centerOnMouseScreen(QWidget* window) {
    centerOnMouseScreen(window, window->frameGeometry().size());
}

void FixedWindow::centerOnMouseScreen(QWidget* window, QSize frameSize) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(FixedWindowGeometry::centeredOrigin(frameSize, screen->availableGeometry()));
}

} // namespace MurvelUI
