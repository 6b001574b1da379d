#pragma once

namespace MurvelUI {

// How large a kit control is drawn.
enum class MurvelControlSize { small, regular, large, extraLarge };

} // namespace MurvelUI
