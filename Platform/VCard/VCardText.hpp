#pragma once

#include "Platform/VCard/TextArena.hpp"

#include <string>
#include <string_view>
#include <vector>

// Decoding the text of vCard values. Everything these return is valid UTF-8.
namespace Platform {

// `bytes` as valid UTF-8: each ill-formed sequence (its maximal subpart) becomes one U+FFFD.
std::string validUtf8(std::string_view bytes);
// The same as a view: `bytes` themselves when they are well formed, else a copy kept in `arena`.
std::string_view validUtf8(std::string_view bytes, TextArena& arena);

// How long a leading part of `bytes` is well-formed UTF-8.
std::size_t wellFormedPrefix(std::string_view bytes);

// The length of the well-formed UTF-8 sequence at `offset`, or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t offset);

// UTF-16 text (without its byte-order mark) as UTF-8; an unpaired surrogate or a trailing odd
// byte becomes U+FFFD.
std::string utf8FromUtf16(std::string_view bytes, bool bigEndian);

// Quoted-printable decoding: "=XX" (hex, either case) gives that byte; an "=" before anything
// else stays as it is. Soft line breaks are joined before this runs.
std::string decodedQuotedPrintable(std::string_view text);

// `bytes` in the named charset (as a CHARSET parameter names it) as UTF-8. Bytes the charset does
// not map become U+FFFD; a charset that is not known reads as UTF-8.
std::string decodedCharset(std::string_view bytes, std::string_view charset);

// The pieces of `value` between unescaped `separator` characters, escapes left in place. A
// backslash escapes the character after it, so "a\;b;c" splits into "a\;b" and "c".
std::vector<std::string_view> splitAtUnescaped(std::string_view value, char separator);
// The same one piece at a time, with nothing allocated: the piece before the next unescaped
// `separator` of `rest`, which moves past it; false once `rest` is used up (after the last piece).
bool nextUnescapedPiece(std::string_view& rest, bool& done, char separator, std::string_view& piece);

// A text value with its escapes resolved: "\n" and "\N" give a line feed, "\," "\;" "\:" and
// "\\" give the character; any other backslash stays as it is.
std::string unescapedText(std::string_view value);
// The same as a view: `value` itself when it holds no backslash, else a copy kept in `arena`.
std::string_view unescapedText(std::string_view value, TextArena& arena);

} // namespace Platform
