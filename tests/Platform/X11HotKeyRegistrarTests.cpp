#include "DialcoveCore/KnownKey.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11HotKeyRegistrar.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"
#include "tests/support/LogCapture.hpp"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

using namespace Platform;
using DialcoveCore::KeyCode;
using DialcoveCore::ShortcutModifiers;
using DialcoveCore::ShortcutRegistration;

namespace {

const ShortcutModifiers controlOption{ShortcutModifiers::control, ShortcutModifiers::option};
constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint16_t capsLock = XCB_MOD_MASK_LOCK;
constexpr uint16_t numLock = XCB_MOD_MASK_2; // where Xvfb's keymap puts Num_Lock

class HotKey : public testing::Test {
protected:
    // The four variants of Control-Alt-K: every lock state.
    std::vector<uint16_t> variants() const {
        return {controlAlt, controlAlt | capsLock, controlAlt | numLock, controlAlt | capsLock | numLock};
    }

    int pressesAfterSync() {
        syncWithX();
        return presses;
    }

    void setLocks(uint16_t wanted) {
        if ((client.lockState() & capsLock) != (wanted & capsLock)) {
            ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
        }
        if ((client.lockState() & numLock) != (wanted & numLock)) {
            ASSERT_TRUE(xdotool({"key", "Num_Lock"}));
        }
        ASSERT_EQ(client.lockState(), wanted);
    }

    X11EventHub hub;
    X11HotKeyRegistrar registrar{hub};
    X11TestClient client;
    const xcb_keycode_t k = client.keycodeOf(XKB_KEY_k);
    int presses = 0;
    QMetaObject::Connection counting =
        QObject::connect(&registrar, &X11HotKeyRegistrar::pressed, [this] { ++presses; });
};

TEST_F(HotKey, IdentifiedAsDLCVOne) {
    EXPECT_EQ(X11HotKeyRegistrar::signature, 0x444C4356u);
    EXPECT_EQ(X11HotKeyRegistrar::identifier, 1u);
}

// The same shortcut applied again keeps the grab it holds: no release in between, one log line.
TEST_F(HotKey, RegisteringTheHeldCombinationAgainKeepsItsGrab) {
    TestSupport::LogCapture log;
    for (int time = 0; time < 3; ++time)
        ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true),
                  ShortcutRegistration::registered);
    int grabbed = 0;
    for (const auto& message : log.messages)
        grabbed += message.text.contains("grabbed") ? 1 : 0;
    EXPECT_EQ(grabbed, 1);
    EXPECT_TRUE(registrar.isRegistered());
    // Another combination still moves the grab.
    ASSERT_EQ(registrar.registerShortcut(38 /* j */, controlOption, true), ShortcutRegistration::registered);
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    grabbed = 0;
    for (const auto& message : log.messages)
        grabbed += message.text.contains("grabbed") ? 1 : 0;
    EXPECT_EQ(grabbed, 3);
}

TEST_F(HotKey, FiresOncePerPressWhateverTheLocks) {
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    const struct {
        const char* name;
        uint16_t locks;
    } cases[] = {
        {"no lock", 0},
        {"Num Lock", numLock},
        {"Caps Lock", capsLock},
        {"both locks", numLock | capsLock},
    };
    int expected = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setLocks(c.locks);
        ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
        ++expected;
        EXPECT_TRUE(waitUntil([&] { return presses >= expected; }));
        EXPECT_EQ(pressesAfterSync(), expected);
    }
    setLocks(0);

    // Other combinations on the same key, and the same modifiers on another key, are not ours.
    ASSERT_TRUE(xdotool({"key", "ctrl+k", "alt+k", "ctrl+alt+shift+k", "ctrl+alt+j"}));
    EXPECT_EQ(pressesAfterSync(), expected);
}

TEST_F(HotKey, HoldingTheKeysFiresOnce) {
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    int keyEvents = 0;
    QObject::connect(&hub, &X11EventHub::keyPressed,
                     [&](quint8 keycode, quint16, quint32) { keyEvents += keycode == k ? 1 : 0; });
    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+k"}));
    // The server repeats a held key; wait until it has, a few times.
    EXPECT_TRUE(waitUntil([&] { return keyEvents >= 3; }));
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt+k"}));
    EXPECT_EQ(pressesAfterSync(), 1);

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 2; }));
}

TEST_F(HotKey, ConflictWhenAnotherClientHoldsAnyVariant) {
    for (uint16_t held : variants()) {
        SCOPED_TRACE(held);
        ASSERT_TRUE(client.grabKey(k, held));
        EXPECT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true),
                  ShortcutRegistration::conflict);
        EXPECT_FALSE(registrar.isRegistered());
        // None of ours is left behind: the other client can take every other variant.
        for (uint16_t other : variants()) {
            if (other != held) {
                EXPECT_TRUE(client.grabKey(k, other)) << other;
            }
        }
        client.ungrabKeys();
    }
}

TEST_F(HotKey, UnregisterFreesAllFourVariants) {
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    for (uint16_t variant : variants())
        EXPECT_FALSE(client.grabKey(k, variant)) << "ours: " << variant;
    registrar.unregisterShortcut();
    EXPECT_FALSE(registrar.isRegistered());
    for (uint16_t variant : variants())
        EXPECT_TRUE(client.grabKey(k, variant)) << variant;
}

TEST_F(HotKey, EveryRegistrationReplacesThePreviousOne) {
    const xcb_keycode_t j = client.keycodeOf(XKB_KEY_j);
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    ASSERT_EQ(registrar.registerShortcut(38 /* j */, controlOption, true), ShortcutRegistration::registered);
    EXPECT_TRUE(client.grabKey(k, controlAlt));
    EXPECT_FALSE(client.grabKey(j, controlAlt));
    client.ungrabKeys();

    // Disabled: the old combination goes, and nothing takes its place.
    EXPECT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, false), ShortcutRegistration::disabled);
    EXPECT_FALSE(registrar.isRegistered());
    EXPECT_TRUE(client.grabKey(k, controlAlt));
    EXPECT_TRUE(client.grabKey(j, controlAlt));
}

TEST_F(HotKey, KeyCodesWithoutAKeyAreAConflict) {
    // 10 is the key beside Z on ISO keyboards, which the model does not know; 63 is Fn.
    EXPECT_EQ(registrar.registerShortcut(10, controlOption, true), ShortcutRegistration::conflict);
    EXPECT_EQ(registrar.registerShortcut(63, controlOption, true), ShortcutRegistration::conflict);
    EXPECT_FALSE(registrar.isRegistered());
}

TEST_F(HotKey, CommandAndShiftGrabSuperAndShift) {
    const ShortcutModifiers all{ShortcutModifiers::control, ShortcutModifiers::option,
                                ShortcutModifiers::shift, ShortcutModifiers::command};
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, all, true), ShortcutRegistration::registered);
    EXPECT_FALSE(client.grabKey(k, controlAlt | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4));
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+shift+super+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
}

TEST_F(HotKey, FollowsTheKeyToItsNewPlaceWhenTheKeymapChanges) {
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    QSignalSpy changes(&registrar, &X11HotKeyRegistrar::registrationChanged);

    const xcb_keycode_t j = client.keycodeOf(XKB_KEY_j);
    client.swapKeysyms(k, j);

    ASSERT_TRUE(waitUntil([&] { return !changes.isEmpty(); }));
    EXPECT_EQ(changes.last().at(0).value<ShortcutRegistration>(), ShortcutRegistration::registered);
    EXPECT_TRUE(registrar.isRegistered());
    EXPECT_FALSE(client.grabKey(j, controlAlt)) << "the key that types k now is grabbed";
    EXPECT_TRUE(client.grabKey(k, controlAlt)) << "the key that typed it is free";
    client.ungrabKeys();

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
}

TEST_F(HotKey, AKeymapChangeThatMeetsAGrabReportsTheConflict) {
    ASSERT_EQ(registrar.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    QSignalSpy changes(&registrar, &X11HotKeyRegistrar::registrationChanged);
    const xcb_keycode_t j = client.keycodeOf(XKB_KEY_j);
    ASSERT_TRUE(client.grabKey(j, controlAlt));

    client.swapKeysyms(k, j);

    ASSERT_TRUE(waitUntil([&] { return !changes.isEmpty(); }));
    EXPECT_EQ(changes.last().at(0).value<ShortcutRegistration>(), ShortcutRegistration::conflict);
    EXPECT_FALSE(registrar.isRegistered());
    EXPECT_TRUE(client.grabKey(k, controlAlt));
}

TEST_F(HotKey, ReleasedWhenTheRegistrarGoes) {
    {
        X11HotKeyRegistrar other(hub);
        ASSERT_EQ(other.registerShortcut(KeyCode::k, controlOption, true), ShortcutRegistration::registered);
    }
    for (uint16_t variant : variants())
        EXPECT_TRUE(client.grabKey(k, variant)) << variant;
}

} // namespace
