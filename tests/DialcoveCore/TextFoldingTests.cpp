#include "DialcoveCore/TextFolding.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <gtest/gtest.h>
#include <unicode/locid.h>

using namespace DialcoveCore;

namespace {

TEST(FoldedForm, IsCaseDiacriticAndWidthInsensitive) {
    const struct {
        const char* input;
        const char* folded;
    } cases[] = {
        {"Émile", "emile"},                 // precomposed accent
        {"E\u0301mile", "emile"},           // combining accent
        {"ＡＢＣ１２", "abc12"},            // full-width forms
        {"ｶﾀｶﾅ", "カタカナ"},               // half-width katakana widen
        {"ｶﾞ", "ガ"},                       // half-width voicing mark kept, composed
        {"が", "が"},                       // kana voicing is part of the letter
        {"Straße", "strasse"},              // full case folding
        {"İstanbul", "istanbul"},           // dotted capital I
        {"Łukasz Ørsted", "łukasz ørsted"}, // no decomposition: kept
        {"ΆΡΗΣ", "αρησ"},                   // Greek tonos dropped
        {"Йогурт", "иогурт"},               // Cyrillic breve dropped
        {"①②③", "①②③"},                     // not a width form
        {"कि", "कि"},                       // Indic vowel sign kept
        {"Ñandú", "nandu"},
        {"O'Neil 42", "o'neil 42"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foldedForm(c.input), c.folded) << "input: " << c.input;
}

TEST(FoldedForm, IgnoresTheDefaultLocale) {
    const icu::Locale saved = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("tr_TR"), status);
    const std::string folded = foldedForm("IŞIK");
    icu::Locale::setDefault(saved, status);
    EXPECT_EQ(folded, "isik");
}

TEST(SearchWords, SplitsAtNonLetterNonNumberCharacters) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(searchWords("O'Neil-Smith, Zoë 42"), (Words{"o", "neil", "smith", "zoe", "42"}));
    EXPECT_EQ(searchWords("  ...  "), Words{});
    EXPECT_EQ(searchWords("किरण शर्मा"), (Words{"किरण", "शर्मा"})); // vowel signs and viramas stay in the word
    EXPECT_EQ(searchWords("Ⅻ①x"), (Words{"ⅻ①x"}));                // letter numbers and other numbers
}

TEST(Digits, KeepsOnlyAsciiDigits) {
    EXPECT_EQ(digits("+55 (11) 91234-5678"), "5511912345678");
    EXPECT_EQ(digits("٣٤٥ 12"), "12"); // Arabic-Indic digits are not dialled
    EXPECT_EQ(digits("none"), "");
}

TEST(UnicodeText, TrimsUnicodeWhiteSpace) {
    EXPECT_EQ(trimmedWhitespace("\u00A0\u2028 a b\t\n\u3000"), "a b");
    EXPECT_EQ(trimmedWhitespace(" \n "), "");
    EXPECT_TRUE(isBlank("\u2003"));
    EXPECT_FALSE(isBlank("\u200B")); // zero width space is not white space
}

TEST(UnicodeText, CountsUserPerceivedCharacters) {
    EXPECT_EQ(graphemeBoundaries("e\u0301a"), (std::vector<std::size_t>{0, 3, 4}));
    EXPECT_EQ(graphemeBoundaries("a\r\nb"), (std::vector<std::size_t>{0, 1, 3, 4}));
    EXPECT_EQ(graphemeBoundaries(""), (std::vector<std::size_t>{0}));
    EXPECT_EQ(firstGrapheme("👍🏽 ok"), "👍🏽");
    EXPECT_EQ(firstGrapheme("कि"), "कि");
}

TEST(UnicodeText, UpperCasesWithoutTheLocale) {
    EXPECT_EQ(upperCased("ßi"), "SSI");
    EXPECT_EQ(upperCased("émile"), "ÉMILE");
}

TEST(UnicodeText, MalformedUtf8ReadsAsReplacementCharacters) {
    const std::string broken = "a\xC3\x28z\xFF";
    EXPECT_EQ(foldedForm(broken), "a\uFFFD(z\uFFFD");
    EXPECT_EQ(trimmedWhitespace(" \xFF "), "\xFF");
}

} // namespace
