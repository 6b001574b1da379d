#include "DialcoveCore/ShortcutRecordingResult.hpp"

#include "DialcoveCore/KnownKey.hpp"

namespace DialcoveCore {

ShortcutRecordingResult ShortcutRecordingResult::forKeyPress(std::uint32_t keyCode,
                                                             ShortcutModifiers modifiers,
                                                             std::string_view keyLabel, bool recording) {
    if (!recording)
        return ignored();
    if (keyCode == KeyCode::deleteKey || keyCode == KeyCode::forwardDelete)
        return accepted(Shortcut::defaultShortcut());
    if (keyCode == KeyCode::escape)
        return cancelled();
    if (auto shortcut = Shortcut::make(keyCode, modifiers, keyLabel))
        return accepted(std::move(*shortcut));
    return invalid();
}

} // namespace DialcoveCore
