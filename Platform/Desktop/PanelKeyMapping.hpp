#pragma once

#include "Platform/Desktop/PanelKeyPress.hpp"

#include <QKeySequence>
#include <cstdint>
#include <optional>

class QKeyEvent;

namespace Platform {

// The panel's keys on a PC keyboard. Where the Mac's panel uses Command, this one uses Control
// (Control-C, Control-Return, Control-comma), as Linux applications do; Alt and Super take the
// places of Option and Control.
//
//   key              without Control   with Control
//   Up, Down         up, down          passed on
//   Left, Right      left, right       passed on
//   Return           enter             commandEnter
//   keypad Enter     keypadEnter       commandEnter
//   Escape           escape            passed on
//   C                passed on         copy; passed on while the focused text has a selection
//   any other        passed on         passed on
struct PanelKeyMapping {
    PanelKeyMapping() = delete;

    // `virtualKey` is the model's key code of the press when known: Control-C is copy on whatever
    // key types "c", and on the key in C's place when the layout has none (a Cyrillic layout).
    static PanelKeyPress read(int qtKey, Qt::KeyboardModifiers modifiers, bool textSelected,
                              std::optional<std::uint32_t> virtualKey = std::nullopt);
    static PanelKeyPress read(const QKeyEvent& event, bool textSelected,
                              std::optional<std::uint32_t> virtualKey = std::nullopt);

    // The key that opens the preferences: Control-comma.
    static QKeySequence preferences();
};

} // namespace Platform
