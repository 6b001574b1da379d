#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QString>
#include <optional>

namespace MurvelUI {

// What a status row reports, and so its icon.
enum class PreferencesStatus { good, info, warning, waiting };

// The icon's symbol: "checkmark.circle", "info.circle", "exclamationmark.triangle", "clock".
QString symbolOf(PreferencesStatus status);
// The icon's colour in `scheme`: for `good` the window's tint (`tint`, else the system accent),
// for `warning` the attention colour, else the secondary colour.
QColor colorOf(PreferencesStatus status, MurvelColorScheme scheme, const std::optional<MurvelColor>& tint);

} // namespace MurvelUI
