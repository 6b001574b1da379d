#pragma once

namespace DialcoveCore {

// The shortcut recorder's state.
enum class ShortcutRecording { idle, recording, invalid };

} // namespace DialcoveCore
