#pragma once

namespace MurvelUI {

// Snapshot mode: the process was started to render a fixed scene for a screenshot, so nothing may
// reach the network, the tray or the keyboard of the desktop.
struct MurvelSnapshot {
    MurvelSnapshot() = delete;

    // True when any argument of the running application begins with "--snapshot-".
    static bool isActive();
};

} // namespace MurvelUI
