#pragma once

#include "Platform/Desktop/OutsideClickMonitor.hpp"
#include "Platform/Desktop/WindowSystem.hpp"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QKeyEvent;

namespace Platform {

class FocusHandoff;

// A floating panel window: frameless, above other windows, on every workspace and placed exactly
// where asked (an override-redirect tool window, so no window manager moves it or lists it in a
// taskbar). While presented it holds the keyboard focus, which goes back to the window that had it
// when the panel closes; a press outside it is reported, and still reaches the window it landed in.
// Key presses meet the key handler before the focused control. The corners are rounded: painted
// with transparency under a compositor, cut with a window mask without one.
//
// Where the desktop does not let such a window have the keyboard (an X client in a Wayland session),
// it is a frameless window above the others that the desktop places and focuses like any other, and
// gives the focus back from; there the desktop's other windows' clicks are not seen, so losing the
// focus counts as a click outside.
//
// The panel closes itself on nothing: the owner decides what an outside click or a key means, and
// calls dismiss().
class FloatingPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int cornerRadius = 16;

    // `windows` must outlive the panel.
    explicit FloatingPanel(WindowSystem& windows);
    ~FloatingPanel() override;

    // Shows the panel with `frame` (global coordinates) and takes the keyboard focus, by
    // `activation` where the desktop asks for one. Presses in `passThrough` (the tray icon the panel
    // hangs from) are not outside clicks. Presenting a shown panel moves it and keeps the window the
    // focus goes back to.
    void present(const QRect& frame, const QRect& passThrough = {},
                 const WindowSystem::Activation& activation = {});
    // Moves and resizes the panel, shown or not.
    void place(const QRect& frame);
    // Hides the panel and gives the focus back. Hiding it any other way does the same.
    void dismiss();
    // Takes the keyboard focus again while shown, as after a window of ours that took it closed:
    // no window manager hands it back to a window it does not manage. A press in the panel does
    // the same.
    void reclaimFocus();

    // Called for every key press in the panel before the focused control; true consumes the key.
    void setKeyHandler(std::function<bool(QKeyEvent&)> handler) { keyHandler_ = std::move(handler); }

    // An input method is composing text in one of the panel's controls.
    bool isComposing() const { return composing_; }
    // The window has an alpha channel for its rounded corners (a compositor ran when it was made).
    bool isTranslucent() const { return translucent_; }
    // The desktop places and focuses the panel (see above).
    bool isManaged() const { return managed_; }

signals:
    void outsideClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class CompositionFilter;

    void updateShape();
    void releaseInputs();
    void takeFocus();

    WindowSystem& windows_;
    std::unique_ptr<FocusHandoff> focus_;
    std::unique_ptr<OutsideClickMonitor> outsideClicks_;
    std::function<bool(QKeyEvent&)> keyHandler_;
    std::unique_ptr<CompositionFilter> compositionFilter_;
    QPointer<QWindow> filteredWindow_;
    const bool managed_;
    bool translucent_ = false;
    bool masked_ = false;
    bool composing_ = false;
};

} // namespace Platform
