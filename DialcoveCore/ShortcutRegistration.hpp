#pragma once

namespace DialcoveCore {

// The outcome of putting the global shortcut in force.
enum class ShortcutRegistration {
    disabled, // not registered because the app is switched off
    registered,
    conflict, // the system refused it, usually because another program holds the key
};

} // namespace DialcoveCore
