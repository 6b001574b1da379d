#pragma once

#include <QRect>

namespace Platform {

// A screen as the panel's placement sees it, in global logical coordinates.
struct PanelScreen {
    QRect frame;
    // The part that panels and docks leave free.
    QRect visibleFrame;

    friend bool operator==(const PanelScreen&, const PanelScreen&) = default;
};

} // namespace Platform
