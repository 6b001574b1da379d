#include "DialcoveCore/KnownKey.hpp"
#include "Platform/Desktop/PanelKeyMapping.hpp"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace Platform {
void PrintTo(const PanelKeyPress& press, std::ostream* out) {
    *out << "{" << (press.key ? std::to_string(int(*press.key)) : "passed on")
         << (press.command ? ", command" : "") << (press.extraModifiers ? ", extra" : "")
         << (press.controlOrOption ? ", control or option" : "") << "}";
}
} // namespace Platform

using namespace Platform;
using DialcoveCore::PanelKey;

namespace {

constexpr auto none = Qt::NoModifier;
constexpr auto ctrl = Qt::ControlModifier;
constexpr auto keypad = Qt::KeypadModifier;
// Qt names the keys of other scripts by their capital letter: С, the Russian layout's key in C's place.
constexpr int cyrillicEs = 0x0421;

TEST(PanelKeyMapping, ControlStandsForCommand) {
    const std::optional<PanelKey> passedOn;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool textSelected;
        std::optional<std::uint32_t> virtualKey;
        PanelKeyPress expected;
    } cases[] = {
        {Qt::Key_Up, none, false, {}, {PanelKey::up, false, false, false}},
        {Qt::Key_Down, none, false, {}, {PanelKey::down, false, false, false}},
        {Qt::Key_Left, none, false, {}, {PanelKey::left, false, false, false}},
        {Qt::Key_Right, none, false, {}, {PanelKey::right, false, false, false}},
        {Qt::Key_Up, keypad, false, {}, {PanelKey::up, false, false, false}}, // keypad 8 without Num Lock
        {Qt::Key_Up, ctrl, false, {}, {passedOn, true, false, false}},
        {Qt::Key_Right, ctrl, false, {}, {passedOn, true, false, false}},
        {Qt::Key_Return, none, false, {}, {PanelKey::enter, false, false, false}},
        {Qt::Key_Return, ctrl, false, {}, {PanelKey::commandEnter, true, false, false}},
        {Qt::Key_Enter, keypad, false, {}, {PanelKey::keypadEnter, false, false, false}},
        {Qt::Key_Enter, ctrl | keypad, false, {}, {PanelKey::commandEnter, true, false, false}},
        {Qt::Key_Escape, none, false, {}, {PanelKey::escape, false, false, false}},
        {Qt::Key_Escape, ctrl, false, {}, {passedOn, true, false, false}},
        {Qt::Key_C, ctrl, false, {}, {PanelKey::copy, true, false, false}},
        {Qt::Key_C, ctrl, true, {}, {passedOn, true, false, false}}, // the field copies its selection
        {Qt::Key_C, none, false, {}, {passedOn, false, false, false}},
        {cyrillicEs, ctrl, false, DialcoveCore::KeyCode::c, {PanelKey::copy, true, false, false}},
        {cyrillicEs, ctrl, false, {}, {passedOn, true, false, false}},
        {Qt::Key_K, none, false, {}, {passedOn, false, false, false}},
        {Qt::Key_Comma, ctrl, false, {}, {passedOn, true, false, false}}, // preferences: a shortcut
        // Shift, Alt and Super come along as extra modifiers; the routing table decides.
        {Qt::Key_Return, Qt::ShiftModifier, false, {}, {PanelKey::enter, false, true, false}},
        {Qt::Key_Down, Qt::AltModifier, false, {}, {PanelKey::down, false, true, true}},
        {Qt::Key_Down, Qt::MetaModifier, false, {}, {PanelKey::down, false, true, true}},
        {Qt::Key_C, ctrl | Qt::ShiftModifier, false, {}, {PanelKey::copy, true, true, false}},
        {Qt::Key_A, Qt::AltModifier, false, {}, {passedOn, false, true, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PanelKeyMapping::read(c.key, c.modifiers, c.textSelected, c.virtualKey), c.expected)
            << std::hex << c.key << " " << c.modifiers.toInt();
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(PanelKeyMapping::read(event, c.textSelected, c.virtualKey), c.expected);
    }
    EXPECT_EQ(PanelKeyMapping::preferences(), QKeySequence("Ctrl+,"));
}

} // namespace
