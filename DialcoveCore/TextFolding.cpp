#include "DialcoveCore/TextFolding.hpp"

#include "DialcoveCore/UnicodeText.hpp"

#include <array>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace DialcoveCore {

namespace {

// Marks below this point (and marks on bases below it) are the Latin, Greek and Cyrillic accents
// that diacritic-insensitive comparison ignores. Kana voicing and Indic, Hebrew or Arabic marks on
// their own scripts' letters are part of the letter and stay.
constexpr UChar32 kAccentLimit = 0x0510;

bool isMark(UChar32 c) {
    return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0;
}

icu::UnicodeString foldedWidth(const icu::UnicodeString& text, const icu::Normalizer2& nfkd) {
    icu::UnicodeString out;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        i += U16_LENGTH(c);
        // Only the half-width and full-width forms block: compatibility mappings elsewhere ("①", "ﬁ")
        // are distinct characters to a user.
        icu::UnicodeString decomposition;
        if (c >= 0xFF00 && c <= 0xFFEF && nfkd.getDecomposition(c, decomposition) && !decomposition.isEmpty())
            out.append(decomposition.char32At(0));
        else
            out.append(c);
    }
    return out;
}

icu::UnicodeString withoutAccents(const icu::UnicodeString& decomposed) {
    icu::UnicodeString out;
    UChar32 base = -1;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        i += U16_LENGTH(c);
        if (isMark(c)) {
            if (c < kAccentLimit || (base >= 0 && base < kAccentLimit))
                continue;
        } else {
            base = c;
        }
        out.append(c);
    }
    return out;
}

std::string asciiLowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool isAsciiWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

std::string foldedByIcu(std::string_view text);

// The folds of the code points written in two UTF-8 bytes (U+0080 to U+07FF: Latin, Greek,
// Cyrillic, Armenian, Hebrew, Arabic...), each worked out alone once. A text of such characters
// and ASCII folds character by character: nothing there composes with a neighbour once its
// accents are gone, and case folding ignores context. Marks are left out, since whether one is
// dropped depends on the letter before it.
class TwoByteFolds {
public:
    TwoByteFolds() {
        for (char32_t c = 0x80; c < 0x800; ++c) {
            if (isMark(static_cast<UChar32>(c)))
                continue;
            const char bytes[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
            folds_[c - 0x80] = foldedByIcu(std::string_view(bytes, 2));
            known_[c - 0x80] = true;
        }
    }

    // False when some character of `text` is not ASCII or two-byte, is a mark, or is malformed.
    bool fold(std::string_view text, std::string& out) const {
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto lead = static_cast<unsigned char>(text[i]);
            if (lead < 0x80) {
                out.push_back(lead >= 'A' && lead <= 'Z' ? static_cast<char>(lead - 'A' + 'a')
                                                         : static_cast<char>(lead));
                continue;
            }
            if (lead < 0xC2 || lead > 0xDF || i + 1 >= text.size())
                return false;
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            if ((trail & 0xC0) != 0x80)
                return false;
            const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) | (trail & 0x3F);
            if (!known_[c - 0x80])
                return false;
            out.append(folds_[c - 0x80]);
            ++i;
        }
        return true;
    }

private:
    std::array<std::string, 0x780> folds_;
    std::array<bool, 0x780> known_{};
};

std::string foldedByIcu(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return asciiLowered(text);

    icu::UnicodeString folded = foldedWidth(
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size()))),
        *nfkd);
    folded.foldCase(U_FOLD_CASE_DEFAULT);
    folded = withoutAccents(nfd->normalize(folded, status));
    folded = nfc->normalize(folded, status);
    // The root locale: under a Turkish process locale "I" would lower to a dotless "ı".
    folded.toLower(icu::Locale::getRoot());
    folded = nfc->normalize(folded, status);
    if (U_FAILURE(status))
        return asciiLowered(text);

    std::string out;
    folded.toUTF8String(out);
    return out;
}

} // namespace

std::string foldedForm(std::string_view text) {
    if (isAscii(text))
        return asciiLowered(text);
    static const TwoByteFolds twoByte;
    std::string out;
    if (twoByte.fold(text, out))
        return out;
    return foldedByIcu(text);
}

std::vector<std::string> splitWords(std::string_view folded) {
    std::vector<std::string> words;
    std::string current;
    const auto flush = [&] {
        if (!current.empty())
            words.push_back(std::move(current));
        current.clear();
    };

    if (isAscii(folded)) {
        for (char c : folded) {
            if (isAsciiWordByte(c))
                current.push_back(c);
            else
                flush();
        }
        flush();
        return words;
    }

    // A user-perceived character belongs to a word when its first code point is a letter or a
    // number, so a vowel sign stays with its consonant.
    const auto boundaries = graphemeBoundaries(folded);
    for (std::size_t b = 0; b + 1 < boundaries.size(); ++b) {
        const std::string_view character = folded.substr(boundaries[b], boundaries[b + 1] - boundaries[b]);
        std::size_t offset = 0;
        const char32_t first = decodeUtf8(character, offset);
        if (isLetter(first) || isNumber(first))
            current.append(character);
        else
            flush();
    }
    flush();
    return words;
}

std::vector<std::string> searchWords(std::string_view text) {
    return splitWords(foldedForm(text));
}

std::string digits(std::string_view text) {
    // Bytes of multi-byte UTF-8 sequences are all >= 0x80, so a byte scan keeps exactly the ASCII digits.
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9')
            out.push_back(c);
    return out;
}

} // namespace DialcoveCore
