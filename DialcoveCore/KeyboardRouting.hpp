#pragma once

#include "DialcoveCore/KeyDecision.hpp"
#include "DialcoveCore/PanelKey.hpp"

namespace DialcoveCore {

struct KeyboardRouting {
    KeyboardRouting() = delete;

    // What `key` means with the result list shown or a contact open. While an input method composes
    // text, or while a modifier beyond those that make the panel key is held, every key passes through.
    static KeyDecision decide(PanelKey key, bool contactOpen, bool composingText, bool extraModifiers);
};

} // namespace DialcoveCore
