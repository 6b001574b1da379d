#include "Platform/Desktop/PanelPlacement.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace Platform {

namespace {

PanelScreen panelScreen(const QScreen& screen) {
    return PanelScreen{screen.geometry(), screen.availableGeometry()};
}

QRect visibleFrameOf(const std::optional<PanelScreen>& screen) {
    return screen ? screen->visibleFrame : PanelPlacement::fallbackVisibleFrame;
}

} // namespace

std::optional<PanelScreen> PanelPlacement::screenFor(const QRect& anchor,
                                                     std::span<const PanelScreen> screens,
                                                     const std::optional<PanelScreen>& main) {
    // A rectangle without area meets nothing, so a point anchor goes by the screen that holds it.
    const bool point = anchor.width() <= 0 || anchor.height() <= 0;
    for (const PanelScreen& screen : screens)
        if (point ? screen.frame.contains(anchor.topLeft()) : screen.frame.intersects(anchor))
            return screen;
    return main;
}

int PanelPlacement::maximumHeight(const std::optional<PanelScreen>& screen) {
    return std::max(0, visibleFrameOf(screen).height() - heightReserve);
}

QRect PanelPlacement::frame(const QRect& anchor, int contentHeight,
                            const std::optional<PanelScreen>& screen) {
    const QRect visible = visibleFrameOf(screen);
    const int height = std::clamp(contentHeight, 0, maximumHeight(screen));
    // Centred under the anchor, then 8 inside the right edge, then 8 inside the left, which wins
    // when the screen is too narrow for both.
    const int anchorMid = anchor.x() + anchor.width() / 2;
    const int x = std::max(visible.x() + margin,
                           std::min(visible.x() + visible.width() - width - margin, anchorMid - width / 2));
    // 8 below the anchor, unless that takes the bottom closer than 8 to the bottom of the free area
    // (an anchor in a taskbar at the bottom puts the panel just above it).
    const int y =
        std::min(anchor.y() + anchor.height() + margin, visible.y() + visible.height() - margin - height);
    return QRect(x, y, width, height);
}

std::vector<PanelScreen> PanelPlacement::currentScreens() {
    std::vector<PanelScreen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(panelScreen(*screen));
    return screens;
}

std::optional<PanelScreen> PanelPlacement::mainScreen() {
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        return panelScreen(*primary);
    return std::nullopt;
}

std::optional<PanelScreen> PanelPlacement::screenFor(const QRect& anchor) {
    return screenFor(anchor, currentScreens(), mainScreen());
}

} // namespace Platform
