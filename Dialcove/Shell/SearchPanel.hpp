#pragma once

#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/KeyboardInput.hpp"
#include "Platform/Desktop/FloatingPanel.hpp"

#include <QRect>
#include <functional>

namespace Platform {
class WindowSystem;
class KeyTranslation;
} // namespace Platform

namespace Dialcove {

class ContactsPanel;
class ContactsPanelView;

// The floating window that carries the search panel. It hangs under its anchor (the tray icon, or
// where the panel is to open), 368 wide and as tall as its content up to the screen's free height
// less 32, and follows the content as it grows and shrinks. Every key press meets the key router
// before the focused control; a press anywhere outside the window closes the panel, and still
// reaches the window it landed in.
//
// Showing it opens the panel. It never closes itself: a close takes the panel's own road
// (ContactsPanel::close), whose onClose the owner points at dismiss(), which hides the window and
// gives the keyboard focus back. The panel, the translation and the window system must outlive the window.
// Main thread only.
class SearchPanel final : public Platform::FloatingPanel {
    Q_OBJECT

public:
    static constexpr QSize initialSize{368, 32};

    // Builds the panel's view, its child, over `panel`, with the app's update notifier unless given
    // another (tests give none).
    SearchPanel(Platform::WindowSystem& windows, const Platform::KeyTranslation& keys, ContactsPanel& panel,
                std::function<void()> showPreferences, std::function<void()> showWelcome,
                MurvelUI::UpdateNotifier* updateNotifier = appUpdateNotifier());
    ~SearchPanel() override;

    ContactsPanel& panel() const { return panel_; }
    // Named apart from QWidget::geometry(), the window's frame.
    PanelGeometry& panelGeometry() { return panelGeometry_; }
    ContactsPanelView* view() const { return view_; }
    // The anchor of the last show; empty before the first.
    const QRect& anchor() const { return anchor_; }

    // Opens the panel and shows the window under `anchor` (global coordinates; a point anchor has
    // no area) with the keyboard focus. Presses in `trayArea` are left to the tray icon, whose own
    // action then closes the panel: a click there closes it once, never closes and reopens it.
    // `activation` is what the desktop handed a second start of the program, for the focus.
    void show(const QRect& anchor, const QRect& trayArea = {},
              const Platform::WindowSystem::Activation& activation = {});
    // Places the window under the anchor for content `contentHeight` tall.
    void position(int contentHeight);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The content's height at the panel's width.
    int contentHeight() const;

    ContactsPanel& panel_;
    PanelGeometry panelGeometry_;
    const KeyboardInput input_;
    ContactsPanelView* view_ = nullptr;
    QRect anchor_;
};

} // namespace Dialcove
