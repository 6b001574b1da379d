#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/PanelKeyboard.hpp"
#include "Dialcove/Shell/ShortcutLifecycle.hpp"
#include "Dialcove/Shell/ShortcutRegistrar.hpp"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Dialcove::ContactSettings;
using Dialcove::PanelKeyboard;
using Dialcove::ShortcutLifecycle;
using Dialcove::ShortcutRegistrar;
using DialcoveCore::ContactPreferences;
using DialcoveCore::PhonePlan;
using DialcoveCore::PreferenceValue;
using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;
using DialcoveCore::ShortcutRegistration;

namespace {

// Behaves as the system does: every call drops the current hot key first, a disabled shortcut is
// never registered, and an enabled one gets `answer`. Calls are written down as text.
class FakeRegistrar final : public ShortcutRegistrar {
public:
    ShortcutRegistration registerShortcut(std::uint32_t keyCode, ShortcutModifiers modifiers,
                                          bool enabled) override {
        const std::string name = std::to_string(keyCode) + "/" + std::to_string(modifiers.rawValue());
        calls.push_back("register " + name + (enabled ? "" : " disabled"));
        current.reset();
        if (!enabled)
            return ShortcutRegistration::disabled;
        if (answer == ShortcutRegistration::registered)
            current = name;
        return answer;
    }

    void unregisterShortcut() override {
        calls.push_back("unregister");
        current.reset();
    }

    void setOnRegistrationChange(RegistrationChange callback) override { onChange = std::move(callback); }

    // As a keymap change reports it.
    void changeBySystem(ShortcutRegistration registration) {
        if (registration != ShortcutRegistration::registered)
            current.reset();
        onChange(registration);
    }

    ShortcutRegistration answer = ShortcutRegistration::registered;
    std::vector<std::string> calls;
    std::optional<std::string> current; // "keyCode/modifiers" of the hot key in force
    RegistrationChange onChange = [](ShortcutRegistration) {};
};

using Calls = std::vector<std::string>;

// Control-Shift-A: key code 0, modifiers 5.
Shortcut controlShiftA() {
    return *Shortcut::make(0, ShortcutModifiers{ShortcutModifiers::control, ShortcutModifiers::shift}, "A");
}

// The objects as the live runtime joins them: a settings change re-applies the shortcut.
struct Runtime {
    Runtime() {
        settings.setOnChange([this] { lifecycle->apply(); });
    }

    PanelKeyboard keyboard;
    ContactSettings settings{nullptr,
                             ContactPreferences{true, PhonePlan::germany, Shortcut::defaultShortcut()}};
    FakeRegistrar registrar;
    std::unique_ptr<ShortcutLifecycle> lifecycle =
        std::make_unique<ShortcutLifecycle>(keyboard, settings, registrar);
};

TEST(ShortcutLifecycle, EachApplyFollowsTheSettingsAndTheRecording) {
    const auto ok = ShortcutRegistration::registered;
    const auto refused = ShortcutRegistration::conflict;
    const std::optional<std::string> none;
    const struct {
        bool enabled;
        bool recording;
        ShortcutRegistration answer; // the system's, to an enabled registration
        bool conflictBefore;
        Calls calls;
        bool conflictAfter;
        std::optional<std::string> inForce;
        const char* name;
    } cases[] = {
        {true, false, ok, false, {"register 40/3"}, false, "40/3", "enabled: registered"},
        {true, false, refused, false, {"register 40/3"}, true, none, "refused: a conflict"},
        {true, false, ok, true, {"register 40/3"}, false, "40/3", "registered again: the conflict goes"},
        {false, false, refused, true, {"register 40/3 disabled"}, false, none, "disabled: none, no conflict"},
        {true, true, ok, true, {"unregister"}, true, none, "recording: released, the conflict stays"},
        {true, true, refused, false, {"unregister"}, false, none, "recording: released, still no conflict"},
        {false, true, ok, false, {"unregister"}, false, none, "recording while disabled: released"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Runtime r;
        r.lifecycle->apply();
        ASSERT_EQ(r.registrar.current, "40/3");

        ContactPreferences values = r.settings.values();
        values.enabled = c.enabled;
        r.settings.setValues(values);
        r.keyboard.setShortcutConflict(c.conflictBefore);
        r.registrar.answer = c.answer;
        r.registrar.calls.clear();
        // Every write of the recording flag applies, also one that leaves it as it was.
        r.keyboard.setRecordingShortcut(c.recording);

        EXPECT_EQ(r.registrar.calls, c.calls);
        EXPECT_EQ(r.keyboard.shortcutConflict(), c.conflictAfter);
        EXPECT_EQ(r.registrar.current, c.inForce);
    }
}

TEST(ShortcutLifecycle, RecordingReleasesTheHotKeyUntilItEnds) {
    Runtime r;
    r.lifecycle->apply();

    // Accepted: the router stores the new shortcut while still recording, then ends the recording.
    r.keyboard.toggleRecording();
    EXPECT_EQ(r.registrar.current, std::nullopt);
    r.settings.update(PreferenceValue::shortcut(controlShiftA()));
    EXPECT_EQ(r.registrar.current, std::nullopt) << "a settings change while recording keeps it released";
    r.keyboard.setRecordingShortcut(false);
    EXPECT_EQ(r.registrar.calls, (Calls{"register 40/3", "unregister", "unregister", "register 0/5"}));
    EXPECT_EQ(r.registrar.current, "0/5");

    // Cancelled, with the combination taken by another program meanwhile: the flag is worked out again.
    r.keyboard.toggleRecording();
    r.registrar.answer = ShortcutRegistration::conflict;
    r.keyboard.setRecordingShortcut(false);
    EXPECT_TRUE(r.keyboard.shortcutConflict());

    // Closing the panel while recording ends the recording and registers again.
    r.registrar.answer = ShortcutRegistration::registered;
    r.keyboard.setRecordingShortcut(true);
    r.keyboard.reset();
    EXPECT_EQ(r.registrar.current, "0/5");
    EXPECT_FALSE(r.keyboard.shortcutConflict());
}

TEST(ShortcutLifecycle, SettingsChangesReplaceTheHotKey) {
    Runtime r;
    r.lifecycle->apply();
    r.settings.update(PreferenceValue::shortcut(controlShiftA()));
    EXPECT_EQ(r.registrar.current, "0/5");

    r.registrar.answer = ShortcutRegistration::conflict;
    r.settings.update(PreferenceValue::shortcut(Shortcut::defaultShortcut()));
    EXPECT_EQ(r.registrar.current, std::nullopt) << "the old hot key does not stay beside a refused one";
    EXPECT_TRUE(r.keyboard.shortcutConflict());

    r.settings.update(PreferenceValue::enabled(false));
    EXPECT_EQ(r.registrar.current, std::nullopt);
    EXPECT_FALSE(r.keyboard.shortcutConflict());
    EXPECT_EQ(r.registrar.calls.back(), "register 40/3 disabled");
}

TEST(ShortcutLifecycle, TheConflictFlagNotifiesOnlyWhenItChanges) {
    Runtime r;
    QSignalSpy changed(&r.keyboard, &PanelKeyboard::shortcutConflictChanged);
    r.lifecycle->apply();
    r.registrar.answer = ShortcutRegistration::conflict;
    r.lifecycle->apply();
    r.lifecycle->apply();
    EXPECT_EQ(changed.count(), 1);
    r.registrar.answer = ShortcutRegistration::registered;
    r.lifecycle->apply();
    EXPECT_EQ(changed.count(), 2);
}

TEST(ShortcutLifecycle, ARegistrationTheSystemChangesReachesTheConflictFlag) {
    Runtime r;
    r.lifecycle->apply();
    r.registrar.changeBySystem(ShortcutRegistration::conflict);
    EXPECT_TRUE(r.keyboard.shortcutConflict());
    r.registrar.changeBySystem(ShortcutRegistration::registered);
    EXPECT_FALSE(r.keyboard.shortcutConflict());

    // While recording nothing is registered, and the flag keeps what the last registration found.
    r.keyboard.setRecordingShortcut(true);
    r.registrar.changeBySystem(ShortcutRegistration::conflict);
    EXPECT_FALSE(r.keyboard.shortcutConflict());
}

TEST(ShortcutLifecycle, OnceGoneItsCallbacksDoNothing) {
    Runtime r;
    r.lifecycle->apply();
    r.settings.setOnChange([] {});
    r.lifecycle.reset();
    r.registrar.calls.clear();

    r.keyboard.setRecordingShortcut(true);
    r.registrar.changeBySystem(ShortcutRegistration::conflict);
    EXPECT_TRUE(r.registrar.calls.empty());
    EXPECT_FALSE(r.keyboard.shortcutConflict());
}

} // namespace
