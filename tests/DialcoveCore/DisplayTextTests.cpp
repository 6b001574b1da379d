#include "DialcoveCore/DisplayText.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

namespace {

TEST(DisplayText, DropsEveryEmbeddingOverrideAndIsolateControl) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"\u202Eevil\u202C Bidi Override", "evil Bidi Override"},
        {"a\u202Ab\u202Bc\u202Cd\u202De\u202Ef", "abcdef"},
        {"a\u2066b\u2067c\u2068d\u2069e", "abcde"},
        // Neighbours of the controls stay, and so do the marks and other format characters.
        {"\u2029\u202F\u2065\u206A", "\u2029\u202F\u2065\u206A"},
        {"x\u200Ey\u200Fz\u061C", "x\u200Ey\u200Fz\u061C"},
        {"Jos\u00E9 \u05E9\u05DC\u05D5\u05DD", "Jos\u00E9 \u05E9\u05DC\u05D5\u05DD"},
        // A control cut short at the end, and bytes that are not UTF-8, are kept as they are.
        {"ab\xE2\x80", "ab\xE2\x80"},
        {"\xFF\xE2\x80\xAE\xFE", "\xFF\xFE"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withoutBidiControls(c.text), c.shown) << c.text;
}

TEST(DisplayText, IsolatesEachNameAndEachPartOfASubtitle) {
    EXPECT_EQ(isolated("Ana"), "\u2068Ana\u2069");
    EXPECT_EQ(isolated("\u2069\u202EAna"), "\u2068Ana\u2069") << "a name cannot close its own isolate";
    EXPECT_EQ(isolated(""), "");
    EXPECT_EQ(isolatedSubtitle("Acme \u00B7 Designer"), "\u2068Acme\u2069 \u00B7 \u2068Designer\u2069");
    EXPECT_EQ(isolatedSubtitle("Acme"), "\u2068Acme\u2069");
    EXPECT_EQ(isolatedSubtitle("\u202EAcme"), "\u2068Acme\u2069");
    EXPECT_EQ(isolatedSubtitle("A\u00B7B"), "\u2068A\u00B7B\u2069") << "a middle dot without spaces is text";
    EXPECT_EQ(isolatedSubtitle(""), "");
}

} // namespace
