#pragma once

namespace MurvelUI {

// The parts of a `PanelActionRow` whose frames it reports: the clickable area (or the static
// label), the leading symbol, the title with its badge, and the trailing view.
enum class PanelActionRowPart { action, icon, text, shortcut };

} // namespace MurvelUI
