#include "Dialcove/Shell/ShortcutRecorder.hpp"

#include "DialcoveCore/KnownKey.hpp"
#include "Platform/Desktop/KeyTranslation.hpp"

namespace Dialcove {

using DialcoveCore::ShortcutRecordingResult;

ShortcutRecorder::ShortcutRecorder(const Platform::KeyTranslation& translation) : translation_(translation) {}

ShortcutRecordingResult ShortcutRecorder::result(const QKeyEvent& event) const {
    const Platform::ShortcutKeyPress press = translation_.shortcutKeyPress(event);
    if (press.modifierKey)
        return ShortcutRecordingResult::ignored();
    if (!press.keyCode)
        return ShortcutRecordingResult::invalid();
    const std::string label = DialcoveCore::recordedKeyLabel(*press.keyCode, press.typed);
    return ShortcutRecordingResult::forKeyPress(*press.keyCode, press.modifiers, label, true);
}

} // namespace Dialcove
