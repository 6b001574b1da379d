#include "Platform/Desktop/PanelKeyMapping.hpp"

#include "DialcoveCore/KnownKey.hpp"

#include <QKeyEvent>

namespace Platform {

using DialcoveCore::PanelKey;

namespace {

// The table of the header, as written there.
struct Row {
    int key;
    std::optional<PanelKey> plain;
    std::optional<PanelKey> withControl;
};

constexpr Row table[] = {
    {Qt::Key_Up, PanelKey::up, std::nullopt},
    {Qt::Key_Down, PanelKey::down, std::nullopt},
    {Qt::Key_Left, PanelKey::left, std::nullopt},
    {Qt::Key_Right, PanelKey::right, std::nullopt},
    {Qt::Key_Return, PanelKey::enter, PanelKey::commandEnter},
    {Qt::Key_Enter, PanelKey::keypadEnter, PanelKey::commandEnter},
    {Qt::Key_Escape, PanelKey::escape, std::nullopt},
    {Qt::Key_C, std::nullopt, PanelKey::copy},
};

} // namespace

PanelKeyPress PanelKeyMapping::read(int qtKey, Qt::KeyboardModifiers modifiers, bool textSelected,
                                    std::optional<std::uint32_t> virtualKey) {
    PanelKeyPress press;
    press.command = modifiers.testFlag(Qt::ControlModifier);
    press.controlOrOption = modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier);
    press.extraModifiers = press.controlOrOption || modifiers.testFlag(Qt::ShiftModifier);

    for (const Row& row : table) {
        if (row.key == qtKey) {
            press.key = press.command ? row.withControl : row.plain;
            break;
        }
    }
    // Control-C is copy only while there is no selected text to copy instead, and, for layouts
    // without a C, on the key in C's place.
    if (press.key == PanelKey::copy && textSelected)
        press.key.reset();
    if (!press.key && press.command && !textSelected && virtualKey == DialcoveCore::KeyCode::c)
        press.key = PanelKey::copy;
    return press;
}

PanelKeyPress PanelKeyMapping::read(const QKeyEvent& event, bool textSelected,
                                    std::optional<std::uint32_t> virtualKey) {
    return read(event.key(), event.modifiers(), textSelected, virtualKey);
}

QKeySequence PanelKeyMapping::preferences() {
    return QKeySequence(Qt::ControlModifier | Qt::Key_Comma);
}

} // namespace Platform
