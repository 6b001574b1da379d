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

// Text of ASCII and two-byte characters is folded character by character; a three-byte character
// ("€") sends the whole text through the full folding, which must agree. Each two-byte character,
// alone and beside others (a capital sigma, sharp s, a dotted I, a letter a
// mark would lean on, its neighbour).
TEST(FoldedForm, TwoByteTextFoldsAsTheWholeTextWould) {
    const auto utf8 = [](char32_t c) {
        std::string out;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        return out;
    };
    const std::string euro = "\u20AC";
    const char32_t partners[] = {U'a', U'Z', U'\u03A3', U'\u00DF', U'\u0130', U'\u0627'};
    int checked = 0;
    for (char32_t c = 0x80; c < 0x800; ++c) {
        const std::string character = utf8(c);
        std::vector<std::string> texts{character, character + utf8(c + 1 < 0x800 ? c + 1 : c)};
        for (const char32_t partner : partners) {
            texts.push_back(character + utf8(partner));
            texts.push_back(utf8(partner) + character);
        }
        for (const std::string& text : texts) {
            ASSERT_EQ(euro + foldedForm(text), foldedForm(euro + text))
                << "U+" << std::hex << static_cast<int>(c);
            ++checked;
        }
    }
    EXPECT_GT(checked, 20000);
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
