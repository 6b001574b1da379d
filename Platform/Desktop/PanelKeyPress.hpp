#pragma once

#include "DialcoveCore/PanelKey.hpp"

#include <optional>

namespace Platform {

// A key press inside the panel, read for the key router.
struct PanelKeyPress {
    // The panel key it makes; none when the key is passed on to the focused control.
    std::optional<DialcoveCore::PanelKey> key;
    // Control is held: inside the panel it plays the part of the Mac's Command key.
    bool command = false;
    // Shift, Alt or Super is held. With one of these the routing table passes a key through.
    bool extraModifiers = false;
    // Alt or Super is held (the Mac's Option and Control). Typing in an open contact then stays there.
    bool controlOrOption = false;

    friend bool operator==(const PanelKeyPress&, const PanelKeyPress&) = default;
};

} // namespace Platform
