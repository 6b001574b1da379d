#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QString>

namespace MurvelUI {

// Where one setup item of the welcome steps stands.
enum class WelcomeStepState { todo, done, attention };

// The item's symbol: "circle", "checkmark.circle.fill" or "exclamationmark.triangle".
QString symbolOf(WelcomeStepState state);
// Its colour: secondary text, the privacy green, or the attention colour.
MurvelColor colorOf(WelcomeStepState state);

} // namespace MurvelUI
