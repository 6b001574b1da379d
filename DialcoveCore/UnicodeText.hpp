#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Unicode helpers over UTF-8 text shared by the contact model. Invalid UTF-8 is read as U+FFFD.
namespace DialcoveCore {

// True for the Unicode White_Space property (spaces, tabs and every line separator).
bool isWhitespace(char32_t c);

// `text` without Unicode white space at either end.
std::string_view trimmedWhitespace(std::string_view text);

bool isBlank(std::string_view text);

// Byte offsets of the user-perceived characters (extended grapheme clusters) of `text`:
// 0, each boundary, then text.size(). Empty text gives {0}.
std::vector<std::size_t> graphemeBoundaries(std::string_view text);

// The first user-perceived character of `text`, or empty.
std::string_view firstGrapheme(std::string_view text);

// Full Unicode upper-casing with the root locale, independent of the process locale.
std::string upperCased(std::string_view text);

// True for the Unicode Alphabetic property.
bool isLetter(char32_t c);
// True for any Unicode numeric type (decimal digits, letter numbers, other numbers).
bool isNumber(char32_t c);

// True when some code point of `text` is a letter.
bool containsLetter(std::string_view text);

// Decodes one code point at `offset`, advancing it; malformed input gives U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t& offset);

bool isAscii(std::string_view text);

} // namespace DialcoveCore
