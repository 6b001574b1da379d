#include "Platform/VCard/VCardText.hpp"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

struct Case {
    std::string input;
    std::string expected;
};

} // namespace

TEST(VCardText, ValidUtf8ReplacesEachIllFormedSubpartOnce) {
    const std::vector<Case> cases{
        {"plain ascii", "plain ascii"},
        {"J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x98\x80", "J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"a\xFF"
         "b",
         "a" + kReplacement + "b"},
        // A truncated three-byte sequence is one maximal subpart: one replacement.
        {"a\xE2\x82"
         "b",
         "a" + kReplacement + "b"},
        // Overlong forms and surrogates are never passed through.
        {"\xC0\xAF", kReplacement + kReplacement},
        {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
        {"\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
        {"end\xF0\x9F\x98", "end" + kReplacement},
        {std::string("nul\0kept", 8), std::string("nul\0kept", 8)},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(validUtf8(input), expected) << input;
}

TEST(VCardText, QuotedPrintableDecodesHexPairsAndKeepsStrayEquals) {
    const std::vector<Case> cases{
        {"M=C3=BCller", "M\xC3\xBCller"},
        {"lower =c3=bc", "lower \xC3\xBC"},
        {"1+1=2", "1+1=2"},
        {"trailing=", "trailing="},
        {"half=A", "half=A"},
        {"=3D=0D=0A", "=\r\n"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(decodedQuotedPrintable(input), expected) << input;
}

TEST(VCardText, CharsetsDecodeToUtf8AndUnknownOnesReadAsUtf8) {
    struct CharsetCase {
        std::string bytes;
        std::string charset;
        std::string expected;
    };
    const std::vector<CharsetCase> cases{
        {"B\xE4"
         "ckerei",
         "ISO-8859-1",
         "B\xC3\xA4"
         "ckerei"},
        {"\x80 5", "windows-1252", "\xE2\x82\xAC 5"},
        {"\x93\xfa\x96\x7b", "Shift_JIS", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"caf\xC3\xA9", "utf-8", "caf\xC3\xA9"},
        {"caf\xC3\xA9", "no-such-charset", "caf\xC3\xA9"},
        {"bad\xFF", "no-such-charset", "bad" + kReplacement},
        {"\xFF", std::string(200, 'x'), kReplacement},
        // Shift_JIS has no character for a lone 0xA0 lead: it becomes U+FFFD, not a control.
        {"a\xA0"
         "b",
         "Shift_JIS", "a" + kReplacement + "b"},
    };
    for (const auto& [bytes, charset, expected] : cases)
        EXPECT_EQ(decodedCharset(bytes, charset), expected) << charset;
}

TEST(VCardText, Utf16DecodesPairsAndReplacesLoneSurrogates) {
    EXPECT_EQ(utf8FromUtf16(std::string("A\0\x3D\xD8\x00\xDE", 6), false), "A\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8FromUtf16(std::string("\0A\xD8\x3D", 4), true), "A" + kReplacement);
    EXPECT_EQ(utf8FromUtf16(std::string("\0A\0", 3), true), "A" + kReplacement);
}

TEST(VCardText, EscapesResolveAndSplitsHonourThem) {
    const std::vector<Case> cases{
        {"Engineer\\, Tools", "Engineer, Tools"},
        {"line\\nbreak\\Nagain", "line\nbreak\nagain"},
        {"semi\\;colon\\:and\\\\slash", "semi;colon:and\\slash"},
        {"C:\\temp", "C:\\temp"},
        {"trailing\\", "trailing\\"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(unescapedText(input), expected) << input;

    EXPECT_EQ(splitAtUnescaped("Family;Given\\;Still;;", ';'),
              (std::vector<std::string_view>{"Family", "Given\\;Still", "", ""}));
    EXPECT_EQ(splitAtUnescaped("", ';'), (std::vector<std::string_view>{""}));
    EXPECT_EQ(splitAtUnescaped("a\\", ';'), (std::vector<std::string_view>{"a\\"}));
}
