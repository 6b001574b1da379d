#pragma once

#include <QWidget>

namespace MurvelUI {

// The top-level window of a `FixedWindow` (kit-internal): a title and a close button, no resizing
// or minimising by the user, kept when closed, and never the window whose close ends the
// application.
//
// Keys: with `closesWithCommandW`, Control-W (exactly Control among Shift, Control, Alt and Meta)
// closes it. Escape first takes the keyboard focus away from a text input, so the first Escape
// ends the editing; otherwise it closes the window. Closing also takes the focus from a text input
// first. Closing only hides the window, so the same native window comes back on the next show.
// `closed` follows every close of a visible window, once.
class FixedNativeWindow final : public QWidget {
    Q_OBJECT
public:
    explicit FixedNativeWindow(QWidget* parent = nullptr);
    ~FixedNativeWindow() override;

    bool closesWithCommandW() const { return closesWithCommandW_; }
    void setClosesWithCommandW(bool closes) { closesWithCommandW_ = closes; }

    // The content that fills the client area; the window owns it.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

    // The window manager's frame around the client area, as far as it is known; none without one.
    QMargins frameMargins() const;

    // True when `widget` takes typed text (a line edit, a text editor, a spin box).
    static bool isTextInput(const QWidget* widget);

signals:
    void closed();
    // The window moved to another screen.
    void screenChanged();
    // The window manager's frame around the window changed, as when it first framed the window.
    void frameMarginsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Handles a key meant for this window; true when it was used.
    bool handleKey(QEvent* event);
    void resignTextInput();

    bool closesWithCommandW_ = false;
    bool screenWatched_ = false;
    QMargins frameMargins_;
    QWidget* content_ = nullptr;
};

} // namespace MurvelUI
