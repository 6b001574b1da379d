#include "Platform/Desktop/FloatingPanel.hpp"

#include "Platform/Desktop/FocusHandoff.hpp"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace Platform {

namespace {

QPainterPath roundedOutline(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, FloatingPanel::cornerRadius, FloatingPanel::cornerRadius);
    return path;
}

} // namespace

// Input method text goes straight to the focused control, past the window, so an application
// filter watches for it while the panel is shown.
class FloatingPanel::CompositionFilter : public QObject {
public:
    explicit CompositionFilter(FloatingPanel& panel) : panel_(panel) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::InputMethod) {
            if (auto* widget = qobject_cast<QWidget*>(watched);
                widget != nullptr && widget->window() == &panel_)
                panel_.composing_ = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
        }
        return false;
    }

private:
    FloatingPanel& panel_;
};

namespace {

Qt::WindowFlags panelFlags(WindowSystem::PanelMode mode) {
    const Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    return mode == WindowSystem::PanelMode::overlay ? flags | Qt::X11BypassWindowManagerHint : flags;
}

} // namespace

FloatingPanel::FloatingPanel(WindowSystem& windows)
    : QWidget(nullptr, panelFlags(windows.panelMode())), windows_(windows), focus_(windows.makeFocusHandoff()),
      outsideClicks_(windows.makeOutsideClickMonitor()),
      compositionFilter_(std::make_unique<CompositionFilter>(*this)),
      managed_(windows.panelMode() == WindowSystem::PanelMode::managed) {
    // The alpha channel is chosen when the native window is made, so decide it now.
    translucent_ = windows_.compositorRunning();
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    // A desktop gives the keyboard to no menu it manages.
    if (!managed_)
        setAttribute(Qt::WA_X11NetWmWindowTypeDropDownMenu);
    setAttribute(Qt::WA_QuitOnClose, false);
    // Qt shows tooltips only in its active window; the panel may be on show without the focus (a
    // window of ours took it, or a tray click came without a usable timestamp).
    setAttribute(Qt::WA_AlwaysShowToolTips);
    connect(outsideClicks_.get(), &OutsideClickMonitor::outsideClicked, this, &FloatingPanel::outsideClicked);
}

FloatingPanel::~FloatingPanel() = default;

void FloatingPanel::present(const QRect& frame, const QRect& passThrough,
                            const WindowSystem::Activation& activation) {
    const bool wasVisible = isVisible();
    const auto own = static_cast<quint32>(winId());
    if (windowHandle() != filteredWindow_) {
        windowHandle()->installEventFilter(this);
        filteredWindow_ = windowHandle();
    }
    if (!wasVisible) {
        // A desktop that manages the panel gives the focus back itself.
        if (!managed_)
            focus_->remember(own);
        qApp->installEventFilter(compositionFilter_.get());
    }
    place(frame);
    if (!wasVisible)
        windows_.activateWith(*windowHandle(), activation);
    show();
    takeFocus();
    outsideClicks_->start(windowHandle(), passThrough);
}

void FloatingPanel::reclaimFocus() {
    if (isVisible())
        takeFocus();
}

void FloatingPanel::takeFocus() {
    raise();
    activateWindow();
    // Qt counts a lost focus as gone only some time after it went. Shown again before then, the panel
    // gets the X focus back while Qt still has its window as the focus window, and announces no
    // activation; make it the active window itself.
    if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this)
        QApplication::setActiveWindow(this);
}

void FloatingPanel::place(const QRect& frame) {
    // A fixed size: a desktop that places the panel keeps it floating at the size it asks for.
    if (managed_)
        setFixedSize(frame.size());
    setGeometry(frame);
    updateShape();
}

void FloatingPanel::dismiss() {
    // Give the focus back while the panel still has it, so it never drops to the root in between.
    releaseInputs();
    hide();
}

void FloatingPanel::hideEvent(QHideEvent* event) {
    releaseInputs();
    QWidget::hideEvent(event);
}

void FloatingPanel::releaseInputs() {
    outsideClicks_->stop();
    qApp->removeEventFilter(compositionFilter_.get());
    composing_ = false;
    if (focus_->isHolding() && windowHandle() != nullptr)
        focus_->giveBack(static_cast<quint32>(winId()));
}

void FloatingPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The click that took the focus landed in a window of the desktop this program cannot see.
    if (managed_ && event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
        outsideClicks_->isWatching())
        emit outsideClicked();
}

bool FloatingPanel::eventFilter(QObject* watched, QEvent* event) {
    // Installed on the panel's window only: a key press meets it before the focused control.
    if (watched == filteredWindow_ && event->type() == QEvent::KeyPress && keyHandler_)
        return keyHandler_(*static_cast<QKeyEvent*>(event));
    // Nobody gives an override-redirect window the focus on a click: it takes it itself.
    if (watched == filteredWindow_ && event->type() == QEvent::MouseButtonPress &&
        QGuiApplication::focusWindow() != windowHandle())
        reclaimFocus();
    return QWidget::eventFilter(watched, event);
}

void FloatingPanel::updateShape() {
    // Without a compositor transparent pixels come out black, so cut the corners off instead. An opaque
    // panel is cut whatever runs: it asks the display nothing (a round trip on every placing).
    const bool mask = !translucent_ || !windows_.compositorRunning();
    if (mask) {
        setMask(QRegion(roundedOutline(rect()).toFillPolygon().toPolygon()));
    } else if (masked_) {
        clearMask();
    }
    masked_ = mask;
}

void FloatingPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (masked_)
        setMask(QRegion(roundedOutline(rect()).toFillPolygon().toPolygon()));
}

void FloatingPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    if (masked_) {
        painter.fillRect(rect(), background);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedOutline(QRectF(rect())), background);
}

} // namespace Platform
