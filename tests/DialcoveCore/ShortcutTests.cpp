#include "DialcoveCore/KnownKey.hpp"
#include "DialcoveCore/Shortcut.hpp"
#include "DialcoveCore/ShortcutRecordingResult.hpp"

#include <gtest/gtest.h>
#include <set>

namespace DialcoveCore {
// Readable failure messages.
void PrintTo(const Shortcut& shortcut, std::ostream* out) {
    *out << shortcut.keyCode() << "/" << int(shortcut.modifiers().rawValue()) << "/\"" << shortcut.keyLabel()
         << "\"";
}
} // namespace DialcoveCore

using namespace DialcoveCore;

namespace {

constexpr std::uint8_t control = 1, option = 2, shift = 4, command = 8;

ShortcutModifiers mods(std::uint8_t raw) {
    return ShortcutModifiers(raw);
}

TEST(ShortcutModifiers, SetOperations) {
    using M = ShortcutModifiers;
    EXPECT_EQ(M::control.rawValue(), 1);
    EXPECT_EQ(M::option.rawValue(), 2);
    EXPECT_EQ(M::shift.rawValue(), 4);
    EXPECT_EQ(M::command.rawValue(), 8);
    const M controlOption{M::control, M::option};
    EXPECT_EQ(controlOption.rawValue(), 3);
    EXPECT_EQ((controlOption | M::shift).rawValue(), 7);
    EXPECT_EQ(controlOption & M::option, M::option);
    EXPECT_EQ((controlOption ^ M{M::option, M::command}), (M{M::control, M::command}));
    EXPECT_EQ(controlOption - M::control, M::option);
    EXPECT_TRUE(M::control.isSubset(controlOption));
    EXPECT_TRUE(controlOption.isDisjoint(M::shift));
    EXPECT_TRUE(M().isEmpty());

    M set;
    EXPECT_TRUE(set.insert(M::shift));
    EXPECT_FALSE(set.insert(M::shift));
    EXPECT_EQ(set.update(M{M::shift, M::command}), M::shift);
    EXPECT_EQ(set.update(M::control), std::nullopt);
    EXPECT_TRUE(set.remove(M::shift));
    EXPECT_FALSE(set.remove(M::shift));
    EXPECT_EQ(set, (M{M::control, M::command}));
}

TEST(Shortcut, Validation) {
    const struct {
        std::uint32_t keyCode;
        std::uint8_t modifiers;
        const char* label;
        const char* normalised; // null when refused
    } cases[] = {
        {40, control | option, " k\n", "K"},
        {40, control, "K", "K"},
        {40, command, "K", "K"},
        {40, control | shift, "K", "K"},
        {40, shift, "K", nullptr}, // shift alone
        {40, 0, "K", nullptr},
        {40, control | 16, "K", nullptr}, // bits without meaning
        {40, command | 128, "K", nullptr},
        {49, option, "SPACE", nullptr}, // Option-Space types a character
        {49, option | shift, "SPACE", "SPACE"},
        {49, control | option, "space", "SPACE"},
        {53, control, "esc", "ESC"},
        {54, control | option, "K", nullptr}, // the modifier keys themselves
        {56, control | option, "K", nullptr},
        {63, control | option, "K", nullptr},
        {64, control | option, "F17", "F17"},
        {126, control | option, "\u2191", "\u2191"},
        {127, control | option, "K", nullptr},
        {4000000000u, control | option, "K", nullptr},
        {105, control, "F13", "F13"},
        {90, control, "f20", "F20"},
        {122, control, "F1", "F1"},
        {122, control, "F0", nullptr},
        {90, control, "F21", nullptr},
        {3, control, "FX", nullptr},
        {36, control, "ENTER", nullptr},
        {115, control, "HOME", nullptr},
        {36, control, "return", "RETURN"},
        {48, control, "Tab", "TAB"},
        {51, control, "delete", "DELETE"},
        {0, control, "", nullptr},
        {0, control, "  ", nullptr},
        {0, control, "AB", nullptr},
        {14, control, "\u00E9", "\u00C9"},   // é
        {14, control, "e\u0301", "E\u0301"}, // one character of two code points
        // A character whose upper case is longer stays as typed, so it can still be recorded.
        {27, control | option, "\u00DF", "\u00DF"},  // ß
        {3, control | option, " \uFB01 ", "\uFB01"}, // ﬁ
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.keyCode << " / " << int(c.modifiers) << " / \"" << c.label << "\"");
        const auto shortcut = Shortcut::make(c.keyCode, mods(c.modifiers), c.label);
        if (c.normalised == nullptr) {
            EXPECT_EQ(shortcut, std::nullopt);
            continue;
        }
        ASSERT_TRUE(shortcut.has_value());
        EXPECT_EQ(shortcut->keyCode(), c.keyCode);
        EXPECT_EQ(shortcut->modifiers(), mods(c.modifiers));
        EXPECT_EQ(shortcut->keyLabel(), c.normalised);
    }
    EXPECT_EQ(Shortcut::make(40, mods(control | option), " k "), Shortcut::defaultShortcut());
}

TEST(Shortcut, DisplayParts) {
    EXPECT_EQ(Shortcut::defaultShortcut().displayParts(),
              (std::vector<std::string>{"\u2303", "\u2325", "K"}));
    EXPECT_EQ(Shortcut::make(96, mods(command | shift | option | control), "F5")->displayParts(),
              (std::vector<std::string>{"\u2303", "\u2325", "\u21E7", "\u2318", "F5"}));
}

TEST(ShortcutCoding, EncodesInOrderAndRoundTrips) {
    EXPECT_EQ(Shortcut::defaultShortcut().encoded().dump(),
              R"({"version":1,"keyCode":40,"modifiers":3,"keyLabel":"K"})");
    const Shortcut shortcuts[] = {
        Shortcut::defaultShortcut(),
        *Shortcut::make(27, mods(control | option), "\u00DF"),
        *Shortcut::make(90, mods(command | shift), "F20"),
        *Shortcut::make(123, mods(control), "\u2190"),
    };
    for (const Shortcut& shortcut : shortcuts) {
        const std::string text = nlohmann::ordered_json(shortcut).dump();
        EXPECT_EQ(Shortcut::decode(nlohmann::json::parse(text)), shortcut) << text;
        EXPECT_EQ(Shortcut::decode(nlohmann::ordered_json::parse(text)), shortcut) << text;
    }
}

TEST(ShortcutCoding, DecodingRefusesWhatIsMalformedOrForeign) {
    // Accepted: other members are ignored, and the label is normalised.
    EXPECT_EQ(Shortcut::decode(nlohmann::json::parse(
                  R"({"keyLabel":" k ","modifiers":3,"keyCode":40,"version":1,"note":"x"})")),
              Shortcut::defaultShortcut());

    const char* const refused[] = {
        R"({"version":2,"keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"version":0,"keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"version":"1","keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1.0,"keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"version":true,"keyCode":40,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":40,"modifiers":4,"keyLabel":"K"})", // shift only
        R"({"version":1,"keyCode":40,"modifiers":3})",                // no label
        R"({"version":1,"keyCode":40,"modifiers":3,"keyLabel":null})",
        R"({"version":1,"keyCode":40,"modifiers":3,"keyLabel":75})",
        R"({"version":1,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":40,"keyLabel":"K"})",
        // Out of range is refused, never wrapped: 259 would wrap to 3, 2^32 + 40 to 40.
        R"({"version":1,"keyCode":40,"modifiers":256,"keyLabel":"K"})",
        R"({"version":1,"keyCode":40,"modifiers":259,"keyLabel":"K"})",
        R"({"version":1,"keyCode":40,"modifiers":-253,"keyLabel":"K"})",
        R"({"version":1,"keyCode":4294967336,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":-1,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":40.0,"modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":"40","modifiers":3,"keyLabel":"K"})",
        R"({"version":1,"keyCode":127,"modifiers":3,"keyLabel":"K"})", // in range, but not a valid key
        R"({"version":1,"keyCode":40,"modifiers":3,"keyLabel":"SS"})",
        R"([1,40,3,"K"])",
        R"("K")",
        R"(null)",
    };
    for (const char* text : refused) {
        EXPECT_EQ(Shortcut::decode(nlohmann::json::parse(text)), std::nullopt) << text;
        EXPECT_EQ(Shortcut::decode(nlohmann::ordered_json::parse(text)), std::nullopt) << text;
    }
}

TEST(ShortcutRecording, OneKeyPress) {
    using Kind = ShortcutRecordingResult::Kind;
    const auto controlOption = mods(control | option);
    const struct {
        std::uint32_t keyCode;
        std::uint8_t modifiers;
        const char* label;
        bool recording;
        Kind kind;
        std::optional<Shortcut> shortcut;
    } cases[] = {
        {40, control | option, "k", false, Kind::ignored, std::nullopt},
        {53, 0, "", false, Kind::ignored, std::nullopt},
        {51, command, "", true, Kind::accepted, Shortcut::defaultShortcut()}, // Delete restores the default
        {117, 0, "", true, Kind::accepted, Shortcut::defaultShortcut()},
        {53, control | option, "", true, Kind::cancelled, std::nullopt},
        {49, control | option, "SPACE", true, Kind::accepted, Shortcut::make(49, controlOption, "SPACE")},
        {40, shift, "K", true, Kind::invalid, std::nullopt},
        {27, control | option, "\u00DF", true, Kind::accepted, Shortcut::make(27, controlOption, "\u00DF")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.keyCode << " / " << int(c.modifiers) << " / recording " << c.recording);
        const auto result =
            ShortcutRecordingResult::forKeyPress(c.keyCode, mods(c.modifiers), c.label, c.recording);
        EXPECT_EQ(result.kind(), c.kind);
        EXPECT_EQ(result.shortcut(), c.shortcut);
    }
}

TEST(KnownKeys, LabelsAgreeWithTheShortcutRules) {
    std::set<std::uint32_t> codes;
    std::set<std::string> functionLabels;
    for (const KnownKey& key : knownKeys()) {
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(codes.insert(key.keyCode).second);
        EXPECT_EQ(knownKey(key.keyCode), &key);
        const bool isModifierKey = key.keyCode >= 54 && key.keyCode <= 63;
        EXPECT_EQ(key.group == KnownKey::Group::modifier, isModifierKey);
        if (key.group == KnownKey::Group::function)
            functionLabels.insert(std::string(key.label));
        // Every fixed label can be recorded; a modifier key never can.
        const auto shortcut =
            Shortcut::make(key.keyCode, mods(control | option), key.label.empty() ? "X" : key.label);
        EXPECT_EQ(shortcut.has_value(), !isModifierKey);
    }
    std::set<std::string> expectedFunctionLabels;
    for (int n = 1; n <= 20; ++n)
        expectedFunctionLabels.insert("F" + std::to_string(n));
    EXPECT_EQ(functionLabels, expectedFunctionLabels);
    EXPECT_EQ(knownKey(52), nullptr);
    EXPECT_EQ(knownKey(127), nullptr);
}

TEST(KnownKeys, RecordedLabels) {
    // F-keys type no text, so the table names them; without it they could never be recorded.
    EXPECT_EQ(recordedKeyLabel(122, ""), "F1");
    EXPECT_EQ(recordedKeyLabel(96, ""), "F5");
    EXPECT_EQ(recordedKeyLabel(90, ""), "F20");
    EXPECT_EQ(recordedKeyLabel(76, "\r"), "RETURN");
    EXPECT_EQ(recordedKeyLabel(36, "\r"), "RETURN");
    EXPECT_EQ(recordedKeyLabel(48, "\t"), "TAB");
    EXPECT_EQ(recordedKeyLabel(49, " "), "SPACE");
    EXPECT_EQ(recordedKeyLabel(125, ""), "\u2193");
    EXPECT_EQ(recordedKeyLabel(6, "y"), "y"); // the layout's character, whatever the US key is
    EXPECT_EQ(recordedKeyLabel(115, ""), "");
    EXPECT_EQ(recordedKeyLabel(200, "q"), "q");
    EXPECT_EQ(
        ShortcutRecordingResult::forKeyPress(103, mods(control), recordedKeyLabel(103, ""), true).shortcut(),
        Shortcut::make(103, mods(control), "F11"));
}

} // namespace
