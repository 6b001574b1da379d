#include "Dialcove/Shell/ShortcutRecorder.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"

#include <QKeyEvent>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using Dialcove::ShortcutRecorder;
using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;
using DialcoveCore::ShortcutRecordingResult;
using M = ShortcutModifiers;

namespace DialcoveCore {
void PrintTo(const ShortcutRecordingResult& result, std::ostream* out) {
    const char* kinds[] = {"accepted", "ignored", "cancelled", "invalid"};
    *out << kinds[static_cast<int>(result.kind())];
    if (const auto& shortcut = result.shortcut())
        *out << " {" << shortcut->keyCode() << ", " << int(shortcut->modifiers().rawValue()) << ", \""
             << shortcut->keyLabel() << "\"}";
}
} // namespace DialcoveCore

namespace {

ShortcutRecordingResult accepted(std::uint32_t keyCode, ShortcutModifiers modifiers, const char* label) {
    return ShortcutRecordingResult::accepted(*Shortcut::make(keyCode, modifiers, label));
}

// Key events as Qt builds them carry no X key code and are read by their Qt key. Presses from a
// real display are read with the hot key, in tests/DialcoveX11.
TEST(ShortcutRecorder, KeyPressesWhileRecording) {
    Platform::X11EventHub hub;
    Platform::X11KeyTranslation translation(hub);
    const ShortcutRecorder recorder(translation);
    const Qt::KeyboardModifiers controlAlt = Qt::ControlModifier | Qt::AltModifier;

    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        ShortcutRecordingResult expected;
    } cases[] = {
        {"Control-Alt-K", Qt::Key_K, controlAlt, "", accepted(40, M{M::control, M::option}, "K")},
        {"with Shift the capital", Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier, "K",
         accepted(40, M{M::control, M::shift}, "K")},
        {"keypad Enter", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, "\r",
         accepted(76, M::control, "RETURN")},
        {"Return", Qt::Key_Return, Qt::MetaModifier, "\r", accepted(36, M::command, "RETURN")},
        {"Space", Qt::Key_Space, Qt::ControlModifier, " ", accepted(49, M::control, "SPACE")},
        {"an arrow", Qt::Key_Left, Qt::AltModifier, "", accepted(123, M::option, "\u2190")},
        // Function keys type no text; their labels are fixed.
        {"F1", Qt::Key_F1, Qt::ControlModifier, "", accepted(122, M::control, "F1")},
        {"F20", Qt::Key_F20, controlAlt, "", accepted(90, M{M::control, M::option}, "F20")},
        {"Delete restores the default", Qt::Key_Backspace, Qt::MetaModifier, "\b",
         ShortcutRecordingResult::accepted(Shortcut::defaultShortcut())},
        {"Escape cancels", Qt::Key_Escape, Qt::ControlModifier, "\x1b", ShortcutRecordingResult::cancelled()},
        // X reports each modifier key as a press of its own before the key it modifies.
        {"Control alone", Qt::Key_Control, Qt::ControlModifier, "", ShortcutRecordingResult::ignored()},
        {"Shift alone", Qt::Key_Shift, Qt::ShiftModifier, "", ShortcutRecordingResult::ignored()},
        {"Caps Lock", Qt::Key_CapsLock, Qt::NoModifier, "", ShortcutRecordingResult::ignored()},
        {"Shift is not enough", Qt::Key_K, Qt::ShiftModifier, "K", ShortcutRecordingResult::invalid()},
        {"Option-Space types a character", Qt::Key_Space, Qt::AltModifier, " ",
         ShortcutRecordingResult::invalid()},
        {"a key without characters or label", Qt::Key_Home, Qt::ControlModifier, "",
         ShortcutRecordingResult::invalid()},
        {"a key the model does not know", Qt::Key_VolumeUp, Qt::ControlModifier, "",
         ShortcutRecordingResult::invalid()},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
        EXPECT_EQ(recorder.result(event), c.expected) << c.name;
    }
}

} // namespace
