#include "MurvelUI/Windows/FixedNativeWindow.hpp"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWindow>

namespace MurvelUI {

namespace {

constexpr Qt::KeyboardModifiers significantModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

} // namespace

FixedNativeWindow::FixedNativeWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    // A tray application lives on with every window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Keys reach the window before its controls, whichever of them has the focus.
    qApp->installEventFilter(this);
}

FixedNativeWindow::~FixedNativeWindow() {
    qApp->removeEventFilter(this);
}

void FixedNativeWindow::setContent(QWidget* content) {
    delete content_;
    content_ = content;
    if (content_) {
        content_->setParent(this);
        content_->setGeometry(rect());
        content_->show();
    }
}

bool FixedNativeWindow::isTextInput(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

bool FixedNativeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    return handleKey(event);
}

bool FixedNativeWindow::handleKey(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool commandW = closesWithCommandW_ && key->key() == Qt::Key_W &&
                          (key->modifiers() & significantModifiers) == Qt::ControlModifier;
    const bool escape = key->key() == Qt::Key_Escape && (key->modifiers() & significantModifiers) == 0;
    if (!commandW && !escape)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed as a key, so that no shortcut elsewhere takes it; the key press acts.
        event->accept();
        return true;
    }
    if (escape && isTextInput(focusWidget())) {
        resignTextInput();
        return true;
    }
    close();
    return true;
}

void FixedNativeWindow::resignTextInput() {
    if (QWidget* focused = focusWidget(); isTextInput(focused))
        focused->clearFocus();
}

bool FixedNativeWindow::event(QEvent* event) {
    if (event->type() == QEvent::Show && !screenWatched_ && windowHandle()) {
        screenWatched_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &FixedNativeWindow::screenChanged);
    }
    const bool handled = QWidget::event(event);
    // A window manager frames a window only once it is mapped, and says so with no event of its
    // own: the frame is known by the first paint at the latest.
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Paint:
    case QEvent::WindowActivate:
        if (const QMargins margins = frameMargins(); margins != frameMargins_) {
            frameMargins_ = margins;
            emit frameMarginsChanged();
        }
        break;
    default:
        break;
    }
    return handled;
}

QMargins FixedNativeWindow::frameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void FixedNativeWindow::closeEvent(QCloseEvent* event) {
    resignTextInput();
    const bool wasVisible = isVisible();
    // Closing only hides: a close that went through would destroy the native window, and the next
    // show would build another one. The same window comes back, as it was.
    event->ignore();
    hide();
    if (wasVisible)
        emit closed();
}

void FixedNativeWindow::resizeEvent(QResizeEvent* event) {
    if (content_)
        content_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace MurvelUI
