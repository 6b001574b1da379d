#include "DialcoveCore/KnownKey.hpp"
#include "DialcoveCore/ShortcutRecordingResult.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace Platform {
void PrintTo(const ShortcutKeyPress& press, std::ostream* out) {
    *out << "{" << (press.keyCode ? std::to_string(*press.keyCode) : "none") << ", "
         << int(press.modifiers.rawValue()) << ", \"" << press.typed << "\""
         << (press.modifierKey ? ", modifier key" : "") << "}";
}
} // namespace Platform

using namespace Platform;
using DialcoveCore::KnownKey;
using DialcoveCore::ShortcutModifiers;
using M = ShortcutModifiers;

namespace {

TEST(KeyTranslation, EveryKnownKeyHasItsOwnKeysymAndComesBackFromIt) {
    std::set<quint32> seen;
    for (const KnownKey& key : DialcoveCore::knownKeys()) {
        SCOPED_TRACE(key.keyCode);
        const std::optional<quint32> keysym = X11KeyTranslation::keysymFor(key.keyCode);
        if (key.name == "function") { // the Mac's Fn key has no counterpart
            EXPECT_EQ(keysym, std::nullopt);
            continue;
        }
        ASSERT_TRUE(keysym.has_value());
        EXPECT_TRUE(seen.insert(*keysym).second) << "keysym " << *keysym << " twice";
        EXPECT_EQ(X11KeyTranslation::virtualKeyForKeysym(*keysym), key.keyCode);
    }
}

TEST(KeyTranslation, KeysymsOfEachKindOfKey) {
    const struct {
        std::uint32_t keyCode;
        std::optional<quint32> keysym;
    } cases[] = {
        {40, XKB_KEY_k},          {18, XKB_KEY_1},       {27, XKB_KEY_minus},    {42, XKB_KEY_backslash},
        {50, XKB_KEY_grave},      {36, XKB_KEY_Return},  {76, XKB_KEY_KP_Enter}, {89, XKB_KEY_KP_7},
        {65, XKB_KEY_KP_Decimal}, {122, XKB_KEY_F1},     {90, XKB_KEY_F20},      {51, XKB_KEY_BackSpace},
        {117, XKB_KEY_Delete},    {114, XKB_KEY_Insert}, {126, XKB_KEY_Up},      {55, XKB_KEY_Super_L},
        {58, XKB_KEY_Alt_L},      {10, std::nullopt},    {127, std::nullopt},    {0xFFFFFFFF, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(X11KeyTranslation::keysymFor(c.keyCode), c.keysym) << c.keyCode;
    EXPECT_EQ(X11KeyTranslation::virtualKeyForKeysym(XKB_KEY_K), 40u) << "capitals read as their letter";
    EXPECT_EQ(X11KeyTranslation::virtualKeyForKeysym(XKB_KEY_Cyrillic_el), std::nullopt);
}

TEST(KeyTranslation, ModifierBitsOfAShortcut) {
    const struct {
        ShortcutModifiers modifiers;
        quint16 mask;
    } cases[] = {
        {M::control, XCB_MOD_MASK_CONTROL},
        {M::option, XCB_MOD_MASK_1},
        {M::shift, XCB_MOD_MASK_SHIFT},
        {M::command, XCB_MOD_MASK_4},
        {M{M::control, M::option}, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1},
        {M{M::control, M::option, M::shift, M::command},
         XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(X11KeyTranslation::grabModifiers(c.modifiers), c.mask) << int(c.modifiers.rawValue());
}

// Events made by hand (as QTest makes them) carry no X key code; they are read by their Qt key.
TEST(KeyTranslation, SynthesisedKeyEventsReadByTheirQtKey) {
    X11EventHub hub;
    X11KeyTranslation translation(hub);
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        ShortcutKeyPress expected;
    } cases[] = {
        {Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, "", {40, M{M::control, M::option}, "k", false}},
        {Qt::Key_K, Qt::ShiftModifier | Qt::MetaModifier, "K", {40, M{M::shift, M::command}, "K", false}},
        {Qt::Key_F5, Qt::ControlModifier, "", {96, M::control, "", false}},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", {76, M(), "", false}},
        {Qt::Key_7, Qt::KeypadModifier | Qt::AltModifier, "7", {89, M::option, "7", false}},
        {Qt::Key_Backtab, Qt::ShiftModifier, "", {48, M::shift, "", false}},
        // Qt counts a modifier key's own modifier as held while it goes down.
        {Qt::Key_Control, Qt::NoModifier, "", {59, M::control, "", true}},
        {Qt::Key_AltGr, Qt::NoModifier, "", {std::nullopt, M(), "", true}},
        {Qt::Key_VolumeUp, Qt::NoModifier, "", {std::nullopt, M(), "", false}},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
        EXPECT_EQ(translation.shortcutKeyPress(event), c.expected) << c.key;
        EXPECT_EQ(translation.virtualKey(event), c.expected.keyCode) << c.key;
    }
}

TEST(KeyTranslation, KeycodesOfTheServersKeymap) {
    X11EventHub hub;
    X11KeyTranslation translation(hub);
    // Xvfb's default keymap: evdev key codes, a US layout, Num Lock on Mod2.
    const struct {
        std::uint32_t virtualKey;
        quint8 keycode;
    } cases[] = {
        {40, 45}, {36, 36}, {53, 9}, {122, 67}, {96, 71}, {89, 79}, {76, 104}, {126, 111}, {51, 22},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(translation.keycodeFor(c.virtualKey), c.keycode) << c.virtualKey;
        EXPECT_EQ(translation.virtualKeyFor(c.keycode), c.virtualKey) << int(c.keycode);
    }
    EXPECT_EQ(translation.numLockMask(), XCB_MOD_MASK_2);
}

TEST(KeyTranslation, AKeyTheLayoutLacksIsFoundWhereAUSKeyboardHasIt) {
    X11EventHub hub;
    X11KeyTranslation translation(hub);
    X11TestClient client;
    QSignalSpy reloaded(&translation, &X11KeyTranslation::reloaded);
    // The K key of a Russian layout types л; no key types k any more.
    const xcb_keycode_t k = client.keycodeOf(XKB_KEY_k);
    client.setKeysyms(k, {XKB_KEY_Cyrillic_el, XKB_KEY_Cyrillic_EL});
    ASSERT_TRUE(waitUntil([&] { return !reloaded.isEmpty(); }));
    EXPECT_EQ(translation.keycodeFor(DialcoveCore::KeyCode::k), k);
    EXPECT_EQ(translation.virtualKeyFor(k), DialcoveCore::KeyCode::k);
}

// Real key presses from the display, read by a focused window as the recorder will read them.
class KeyCapture : public QWidget {
public:
    explicit KeyCapture(const X11KeyTranslation& translation) : translation_(translation) {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(50, 50, 200, 100);
    }
    std::vector<ShortcutKeyPress> presses;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        presses.push_back(translation_.shortcutKeyPress(*event));
    }

private:
    const X11KeyTranslation& translation_;
};

TEST(KeyTranslation, KeyPressesFromTheDisplayReadForRecording) {
    X11EventHub hub;
    X11KeyTranslation translation(hub);
    KeyCapture capture(translation);
    capture.show();
    capture.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return capture.hasFocus(); }));

    const struct {
        const char* keys;
        ShortcutKeyPress expected;
        const char* recordedLabel; // what the recorder makes of it, or null when it refuses the press
    } cases[] = {
        {"ctrl+alt+k", {40, M{M::control, M::option}, "k", false}, "K"},
        {"shift+super+k", {40, M{M::shift, M::command}, "K", false}, "K"},
        {"shift+k", {40, M::shift, "K", false}, nullptr},
        {"ctrl+shift+1", {18, M{M::control, M::shift}, "!", false}, "!"},
        {"ctrl+F5", {96, M::control, "", false}, "F5"},
        {"ctrl+shift+F12", {111, M{M::control, M::shift}, "", false}, "F12"},
        {"ctrl+KP_Enter", {76, M::control, "", false}, "RETURN"},
        {"ctrl+KP_7", {89, M::control, "7", false}, "7"},
        {"ctrl+Left", {123, M::control, "", false}, "\u2190"},
        {"Control_L", {59, M::control, "", true}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        capture.presses.clear();
        ASSERT_TRUE(xdotool({"key", c.keys}));
        syncWithX();
        ASSERT_FALSE(capture.presses.empty());
        const ShortcutKeyPress& press = capture.presses.back();
        EXPECT_EQ(press, c.expected);
        if (!press.keyCode)
            continue;
        const auto result = DialcoveCore::ShortcutRecordingResult::forKeyPress(
            *press.keyCode, press.modifiers, DialcoveCore::recordedKeyLabel(*press.keyCode, press.typed),
            true);
        if (c.recordedLabel != nullptr) {
            ASSERT_TRUE(result.shortcut().has_value());
            EXPECT_EQ(result.shortcut()->keyLabel(), c.recordedLabel);
        } else if (!press.modifierKey) {
            EXPECT_FALSE(result.shortcut().has_value());
        }
    }
}

} // namespace
