#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/PanelKeyboard.hpp"
#include "Dialcove/Shell/GlobalShortcut.hpp"
#include "Dialcove/Shell/ShortcutLifecycle.hpp"
#include "Dialcove/Shell/ShortcutRecorder.hpp"
#include "DialcoveCore/KnownKey.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>
#include <xkbcommon/xkbcommon-keysyms.h>

using Dialcove::ContactSettings;
using Dialcove::GlobalShortcut;
using Dialcove::PanelKeyboard;
using Dialcove::ShortcutLifecycle;
using Dialcove::ShortcutRecorder;
using DialcoveCore::ContactPreferences;
using DialcoveCore::KeyCode;
using DialcoveCore::PhonePlan;
using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;
using DialcoveCore::ShortcutRecordingResult;
using DialcoveCore::ShortcutRegistration;

namespace {

const ShortcutModifiers controlOption{ShortcutModifiers::control, ShortcutModifiers::option};
constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

// The hot key as the live runtime builds it, with Control-Option-K in the settings, beside a
// second X client that can take key grabs first.
class GlobalHotKey : public testing::Test {
protected:
    GlobalHotKey() {
        hotkey.installHandler();
        hotkey.setPressed([this] { ++presses; });
    }

    // Presses counted once every X event sent so far has been handled.
    int pressesAfterSync() {
        syncWithX();
        return presses;
    }

    // Registers, then lets a keymap change move K onto the key of J, which the other client holds.
    void loseTheHotKeyToAKeymapChange() {
        lifecycle.apply();
        ASSERT_TRUE(client.grabKey(j, controlAlt));
        client.swapKeysyms(k, j);
        ASSERT_TRUE(waitUntil([&] { return keyboard.shortcutConflict(); }));
        ASSERT_FALSE(hotkey.hasRegistration());
    }

    X11TestClient client;
    const xcb_keycode_t k = client.keycodeOf(XKB_KEY_k);
    const xcb_keycode_t j = client.keycodeOf(XKB_KEY_j);
    Platform::X11EventHub hub;
    GlobalShortcut hotkey{hub};
    PanelKeyboard keyboard;
    ContactSettings settings{nullptr,
                             ContactPreferences{true, PhonePlan::other, Shortcut::defaultShortcut()}};
    ShortcutLifecycle lifecycle{keyboard, settings, hotkey};
    int presses = 0;
};

TEST_F(GlobalHotKey, EachPressReachesPressedOnceWhileTheHandlerIsInstalled) {
    lifecycle.apply();
    ASSERT_TRUE(hotkey.hasRegistration());
    hotkey.installHandler(); // a second installation changes nothing

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses >= 1; }));
    EXPECT_EQ(pressesAfterSync(), 1);

    hotkey.removeHandler();
    EXPECT_FALSE(hotkey.hasHandler());
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_EQ(pressesAfterSync(), 1);
    EXPECT_TRUE(hotkey.hasRegistration()) << "removing the handler leaves the registration";
}

TEST_F(GlobalHotKey, AConflictWithAnotherClientReachesTheKeyboardUntilTheNextApply) {
    ASSERT_TRUE(client.grabKey(k, controlAlt));
    lifecycle.apply();
    EXPECT_TRUE(keyboard.shortcutConflict());
    EXPECT_FALSE(hotkey.hasRegistration());

    // The other program lets go; ending a recording tries again.
    client.ungrabKeys();
    keyboard.setRecordingShortcut(false);
    EXPECT_FALSE(keyboard.shortcutConflict());
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
}

// A focused window that feeds its key presses to the recorder, as the panel does while recording.
class RecordingWindow : public QWidget {
public:
    explicit RecordingWindow(const ShortcutRecorder& recorder) : recorder_(recorder) {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(50, 50, 200, 100);
    }
    std::vector<ShortcutRecordingResult> results;

protected:
    void keyPressEvent(QKeyEvent* event) override { results.push_back(recorder_.result(*event)); }

private:
    const ShortcutRecorder& recorder_;
};

TEST_F(GlobalHotKey, WhileRecordingTheCombinationReachesTheRecorder) {
    lifecycle.apply();
    const ShortcutRecorder recorder(hotkey.keyTranslation());
    RecordingWindow window(recorder);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return window.hasFocus(); }));

    keyboard.setRecordingShortcut(true);
    EXPECT_FALSE(hotkey.hasRegistration());
    EXPECT_TRUE(client.grabKey(k, controlAlt)) << "released while recording";
    client.ungrabKeys();

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    syncWithX();
    EXPECT_EQ(presses, 0);
    // Control and Alt go down as keys of their own first; only K makes the shortcut.
    EXPECT_EQ(window.results,
              (std::vector{ShortcutRecordingResult::ignored(), ShortcutRecordingResult::ignored(),
                           ShortcutRecordingResult::accepted(Shortcut::defaultShortcut())}));

    window.results.clear();
    ASSERT_TRUE(xdotool({"key", "ctrl+F7"}));
    syncWithX();
    ASSERT_FALSE(window.results.empty());
    ASSERT_TRUE(window.results.back().shortcut().has_value());
    EXPECT_EQ(window.results.back().shortcut()->keyLabel(), "F7");

    keyboard.setRecordingShortcut(false);
    EXPECT_TRUE(hotkey.hasRegistration());
    EXPECT_FALSE(client.grabKey(k, controlAlt)) << "ours again";
}

TEST_F(GlobalHotKey, AKeymapChangeCanTakeTheHotKeyAwayAndGiveItBack) {
    ASSERT_NO_FATAL_FAILURE(loseTheHotKeyToAKeymapChange());

    // K goes back to its free key.
    client.swapKeysyms(k, j);
    ASSERT_TRUE(waitUntil([&] { return !keyboard.shortcutConflict(); }));
    EXPECT_TRUE(hotkey.hasRegistration());
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
}

TEST_F(GlobalHotKey, NoKeymapChangeBringsBackAHotKeyThatIsNotWanted) {
    ASSERT_NO_FATAL_FAILURE(loseTheHotKeyToAKeymapChange());

    // Recording: the hot key is not wanted now, and the keymap going back must not grab it.
    keyboard.setRecordingShortcut(true);
    QSignalSpy reloaded(&hotkey.keyTranslation(), &Platform::X11KeyTranslation::reloaded);
    client.swapKeysyms(k, j);
    ASSERT_TRUE(waitUntil([&] { return !reloaded.isEmpty(); }));
    EXPECT_FALSE(hotkey.hasRegistration());
    EXPECT_TRUE(client.grabKey(k, controlAlt));
}

// Unlike a registration that outlives its owner, a grab left behind would make the combination dead
// on the whole desktop.
TEST_F(GlobalHotKey, DestroyingAGlobalShortcutReleasesItsGrab) {
    {
        GlobalShortcut other(hub);
        ASSERT_EQ(other.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
        EXPECT_FALSE(client.grabKey(k, controlAlt));
    }
    EXPECT_TRUE(client.grabKey(k, controlAlt));
}

} // namespace
