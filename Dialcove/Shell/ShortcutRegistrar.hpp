#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"
#include "DialcoveCore/ShortcutRegistration.hpp"

#include <cstdint>
#include <functional>

namespace Dialcove {

// Puts the one global hot key in force and takes it away: the interface the app's lifecycle
// (ShortcutLifecycle) drives; GlobalShortcut implements it over the windowing system. Main thread only.
class ShortcutRegistrar {
public:
    using RegistrationChange = std::function<void(DialcoveCore::ShortcutRegistration)>;

    virtual ~ShortcutRegistrar() = default;

    // Drops the current registration first, in every call, so there is never more than one; then,
    // unless `enabled` is false, registers `keyCode` (a virtual key code) with `modifiers`.
    virtual DialcoveCore::ShortcutRegistration
    registerShortcut(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers, bool enabled) = 0;
    // Removes the current registration, if any.
    virtual void unregisterShortcut() = 0;

    // Runs when the registration changes by itself, not through the two calls above: a layout
    // change moves the hot key to another key, where another program may hold it, or frees
    // it again. Does nothing until set.
    virtual void setOnRegistrationChange(RegistrationChange callback) = 0;
};

} // namespace Dialcove
