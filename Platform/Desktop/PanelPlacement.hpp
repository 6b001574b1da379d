#pragma once

#include "Platform/Desktop/PanelScreen.hpp"

#include <QRect>
#include <optional>
#include <span>
#include <vector>

namespace Platform {

// Where the search panel goes: centred under its anchor, 368 wide, as tall as its content up to the
// screen's free height less 32, and kept 8 inside the screen's free area. Coordinates are Qt's:
// y grows downwards.
struct PanelPlacement {
    PanelPlacement() = delete;

    static constexpr int width = 368;
    static constexpr int margin = 8;
    static constexpr int heightReserve = 32;
    // Used when there is no screen at all.
    static constexpr QRect fallbackVisibleFrame{0, 0, 1440, 900};

    // The first of `screens` whose frame meets `anchor` (a point anchor: contains it), else `main`.
    static std::optional<PanelScreen> screenFor(const QRect& anchor, std::span<const PanelScreen> screens,
                                                const std::optional<PanelScreen>& main);
    // The tallest the panel may be on `screen`: its free height less 32 (868 without a screen).
    static int maximumHeight(const std::optional<PanelScreen>& screen);
    // The panel's frame for content `contentHeight` tall.
    static QRect frame(const QRect& anchor, int contentHeight, const std::optional<PanelScreen>& screen);

    // The screens Qt knows now, in its order, and the primary one as the main screen.
    static std::vector<PanelScreen> currentScreens();
    static std::optional<PanelScreen> mainScreen();
    // screenFor over the current screens.
    static std::optional<PanelScreen> screenFor(const QRect& anchor);
};

} // namespace Platform
