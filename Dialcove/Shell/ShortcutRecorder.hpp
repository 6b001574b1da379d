#pragma once

#include "DialcoveCore/ShortcutRecordingResult.hpp"

class QKeyEvent;

namespace Platform {
class KeyTranslation;
} // namespace Platform

namespace Dialcove {

// Reads one key press while a new shortcut is being recorded.
//
// The key code and modifiers come from the keymap (Control, Alt, Shift, Super for control, option,
// shift, command; the locks count for nothing). The label is the key's fixed one where it has one
// (RETURN for both Return keys, TAB, SPACE, the arrows, F1 to F20, since function keys type no
// text), else what the key types with Shift at most. A modifier or lock key by itself is ignored:
// X reports it as a key press of its own, and the recorder waits for the key that follows.
class ShortcutRecorder {
public:
    explicit ShortcutRecorder(const Platform::KeyTranslation& translation);

    // Accepted, cancelled (Escape), the default shortcut (Delete, Forward Delete), ignored, or
    // invalid for a combination that cannot be a shortcut or a key the model does not know.
    DialcoveCore::ShortcutRecordingResult result(const QKeyEvent& event) const;

private:
    const Platform::KeyTranslation& translation_;
};

} // namespace Dialcove
