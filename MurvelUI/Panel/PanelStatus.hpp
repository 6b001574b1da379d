#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>
#include <array>

namespace MurvelUI {

// What the panel header's status dot says: the app works, is switched off, needs attention, or is
// recording. Each has a dot colour per colour scheme.
class PanelStatus {
public:
    enum Value { working, off, attention, recording };

    constexpr PanelStatus(Value value) : value_(value) {} // NOLINT: reads as the enumeration
    constexpr Value value() const { return value_; }

    static constexpr std::array<Value, 4> allCases() { return {working, off, attention, recording}; }

    // working: the privacy green; off: the muted secondary colour; attention: the system orange in
    // dark, sRGB (184, 80, 0) in light; recording: the system red.
    QColor color(MurvelColorScheme scheme) const;

    friend constexpr bool operator==(PanelStatus, PanelStatus) = default;

private:
    Value value_;
};

} // namespace MurvelUI
