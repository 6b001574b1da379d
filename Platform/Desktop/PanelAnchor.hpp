#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

namespace Platform {

// What the panel hangs from: the tray icon when the tray says where it is; else the pointer where
// the tray icon was clicked (a StatusNotifierItem tray reports no geometry); else, for the hot key,
// the last tray anchor; else the top centre of the screen under the pointer (a desktop without a
// tray). Global logical coordinates; a point anchor is a rectangle without area.
class PanelAnchor {
public:
    enum class Source { trayIcon, trayClick, previous, screenTop };

    struct Choice {
        QRect rect;
        Source source;
        // Where a press is a press on the tray icon rather than outside the panel: the icon, or a tray
        // icon's extent around the clicked point; empty when the panel does not hang from the tray.
        QRect trayArea;
        friend bool operator==(const Choice&, const Choice&) = default;
    };

    // A click this close to a clicked point counts as a click on the same tray icon.
    static constexpr int trayIconExtent = 24;

    // The rule by itself. `trayGeometry` is empty when the tray gives none; `clickPoint` is present
    // for a tray click; `screenUnderPointer` is the free area of the screen under the pointer.
    static Choice choose(const QRect& trayGeometry, std::optional<QPoint> clickPoint,
                         const std::optional<Choice>& previous, const QRect& screenUnderPointer);

    // The anchor now: for a tray click (`trayClick`, with the pointer read then) or the hot key.
    // Remembers tray anchors for later hot-key presses.
    Choice resolve(const QRect& trayGeometry, bool trayClick);

    // The last tray anchor.
    const std::optional<Choice>& previous() const { return previous_; }

private:
    std::optional<Choice> previous_;
};

} // namespace Platform
