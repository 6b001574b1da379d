#include "DialcoveCore/ContactPreferences.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

namespace {

TEST(PreferenceKey, RawValues) {
    const char* const names[] = {"enabled", "phonePlan", "shortcut"};
    for (std::size_t i = 0; i < allPreferenceKeys.size(); ++i) {
        EXPECT_EQ(rawValue(allPreferenceKeys[i]), names[i]);
        EXPECT_EQ(preferenceKeyFromRaw(names[i]), allPreferenceKeys[i]);
    }
    for (const char* foreign : {"PhonePlan", "phone_plan", "", "enabled "})
        EXPECT_EQ(preferenceKeyFromRaw(foreign), std::nullopt) << foreign;
}

TEST(PreferenceValue, KeysAndEquality) {
    EXPECT_EQ(PreferenceValue::enabled(false).key(), PreferenceKey::enabled);
    EXPECT_EQ(PreferenceValue::enabled(true).key(), PreferenceKey::enabled);
    EXPECT_EQ(PreferenceValue::phonePlan(PhonePlan::spain).key(), PreferenceKey::phonePlan);
    EXPECT_EQ(PreferenceValue::shortcut(Shortcut::defaultShortcut()).key(), PreferenceKey::shortcut);

    const auto k = *Shortcut::make(40, ShortcutModifiers::control, "K");
    const auto l = *Shortcut::make(40, ShortcutModifiers::control, "L");
    EXPECT_NE(PreferenceValue::shortcut(k), PreferenceValue::shortcut(l)); // only the label differs
    EXPECT_EQ(PreferenceValue::shortcut(k), PreferenceValue::shortcut(k));
    EXPECT_NE(PreferenceValue::enabled(true), PreferenceValue::enabled(false));
}

TEST(ContactPreferences, ApplyChangesOneMember) {
    const ContactPreferences start{true, PhonePlan::germany, Shortcut::defaultShortcut()};
    const auto other = *Shortcut::make(3, ShortcutModifiers::command, "F");

    ContactPreferences preferences = start;
    preferences.apply(PreferenceValue::shortcut(other));
    EXPECT_EQ(preferences, (ContactPreferences{true, PhonePlan::germany, other}));
    preferences.apply(PreferenceValue::phonePlan(PhonePlan::brazil));
    EXPECT_EQ(preferences, (ContactPreferences{true, PhonePlan::brazil, other}));
    preferences.apply(PreferenceValue::enabled(false));
    EXPECT_EQ(preferences, (ContactPreferences{false, PhonePlan::brazil, other}));
}

} // namespace
