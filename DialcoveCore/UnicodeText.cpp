#include "DialcoveCore/UnicodeText.hpp"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace DialcoveCore {

namespace {

// Creating a break iterator loads rules, so each thread keeps one.
icu::BreakIterator* characterIterator() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

icu::UnicodeString fromUtf8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

} // namespace

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

char32_t decodeUtf8(std::string_view text, std::size_t& offset) {
    auto index = static_cast<int32_t>(offset);
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), index, static_cast<int32_t>(text.size()), c);
    offset = static_cast<std::size_t>(index);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

bool isWhitespace(char32_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

std::string_view trimmedWhitespace(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = begin;
        if (!isWhitespace(decodeUtf8(text, next)))
            break;
        begin = next;
    }
    std::size_t end = text.size();
    while (end > begin) {
        auto index = static_cast<int32_t>(end);
        UChar32 c = 0;
        U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(begin), index, c);
        if (c < 0 || !isWhitespace(static_cast<char32_t>(c)))
            break;
        end = static_cast<std::size_t>(index);
    }
    return text.substr(begin, end - begin);
}

bool isLetter(char32_t c) {
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC);
}

bool isNumber(char32_t c) {
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

bool isBlank(std::string_view text) {
    return trimmedWhitespace(text).empty();
}

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    if (text.empty())
        return boundaries;
    if (isAscii(text)) {
        // Every ASCII byte is a character of its own, except that CR LF is one.
        for (std::size_t i = 1; i < text.size(); ++i)
            if (!(text[i - 1] == '\r' && text[i] == '\n'))
                boundaries.push_back(i);
        boundaries.push_back(text.size());
        return boundaries;
    }
    icu::BreakIterator* iterator = characterIterator();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    if (iterator == nullptr || U_FAILURE(status)) {
        utext_close(utext);
        boundaries.push_back(text.size());
        return boundaries;
    }
    iterator->setText(utext, status);
    for (int32_t b = iterator->next(); b != icu::BreakIterator::DONE; b = iterator->next())
        boundaries.push_back(static_cast<std::size_t>(b));
    // Leave the shared iterator pointing at nothing that is about to be freed.
    iterator->setText(icu::UnicodeString());
    utext_close(utext);
    if (boundaries.back() != text.size())
        boundaries.push_back(text.size());
    return boundaries;
}

std::string_view firstGrapheme(std::string_view text) {
    if (text.empty())
        return text;
    if (static_cast<unsigned char>(text[0]) < 0x80 &&
        (text.size() == 1 || static_cast<unsigned char>(text[1]) < 0x80))
        return text.substr(0, text[0] == '\r' && text.size() > 1 && text[1] == '\n' ? 2 : 1);
    const auto boundaries = graphemeBoundaries(text);
    return text.substr(0, boundaries[1]);
}

std::string upperCased(std::string_view text) {
    if (isAscii(text)) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return out;
    }
    return toUtf8(fromUtf8(text).toUpper(icu::Locale::getRoot()));
}

bool containsLetter(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                return true;
            ++i;
            continue;
        }
        if (isLetter(decodeUtf8(text, i)))
            return true;
    }
    return false;
}

} // namespace DialcoveCore
