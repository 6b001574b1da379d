#include "Platform/VCard/VCardText.hpp"

#include "Platform/VCard/VCard.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

namespace Platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// A charset name longer than any real one is not handed to the converter registry.
constexpr std::size_t kCharsetNameLimit = 64;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The length of the well-formed sequence at `i`, or 0 with `subpart` set to the bytes of the
// ill-formed start that one replacement character stands for.
std::size_t sequenceLength(const unsigned char* s, std::size_t size, std::size_t i, std::size_t& subpart) {
    const unsigned char lead = s[i];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        subpart = 1;
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= size) {
            subpart = k;
            return 0;
        }
        const unsigned char c = s[i + k];
        const unsigned char min = k == 1 ? low : 0x80;
        const unsigned char max = k == 1 ? high : 0xBF;
        if (c < min || c > max) {
            subpart = k;
            return 0;
        }
    }
    return length;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// ICU's own substitute for legacy charsets is U+001A, a control character; the reader's rule is U+FFFD.
void U_CALLCONV substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* arguments, const char*,
                                               int32_t, UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR)
        return;
    static const UChar replacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(arguments, &replacement, 1, 0, error);
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

} // namespace

std::size_t wellFormedPrefix(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    std::size_t subpart = 0;
    while (i < size) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(s, size, i, subpart);
        if (length == 0)
            break;
        i += length;
    }
    return i;
}

std::string_view validUtf8(std::string_view bytes, TextArena& arena) {
    if (wellFormedPrefix(bytes) == bytes.size())
        return bytes;
    return arena.keep(validUtf8(bytes));
}

std::string validUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();

    // Most text is already well formed: find the first fault before copying anything.
    std::size_t i = wellFormedPrefix(bytes);
    std::size_t subpart = 0;
    if (i == size)
        return std::string(bytes);

    std::string out(bytes.substr(0, i));
    while (i < size) {
        if (s[i] < 0x80) {
            out.push_back(static_cast<char>(s[i]));
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(s, size, i, subpart);
        if (length == 0) {
            out.append(kReplacement);
            i += subpart;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t offset) {
    if (offset >= bytes.size())
        return 0;
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    if (s[offset] < 0x80)
        return 1;
    std::size_t subpart = 0;
    return sequenceLength(s, bytes.size(), offset, subpart);
}

std::string utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? static_cast<char32_t>((first << 8) | second)
                         : static_cast<char32_t>((second << 8) | first);
    };
    std::string out;
    out.reserve(bytes.size() / 2);
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        const char32_t c = unit(i);
        i += 2;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < bytes.size()) {
            const char32_t next = unit(i);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                i += 2;
                appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            out.append(kReplacement);
        else
            appendUtf8(out, c);
    }
    if (i < bytes.size())
        out.append(kReplacement);
    return out;
}

std::string decodedQuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>((high << 4) | low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string decodedCharset(std::string_view bytes, std::string_view charset) {
    if (charset.empty() || equalsIgnoringCase(charset, "UTF-8") || equalsIgnoringCase(charset, "UTF8") ||
        equalsIgnoringCase(charset, "US-ASCII") || charset.size() > kCharsetNameLimit)
        return validUtf8(bytes);
    if (equalsIgnoringCase(charset, "ISO-8859-1") || equalsIgnoringCase(charset, "LATIN1")) {
        std::string out;
        out.reserve(bytes.size());
        for (unsigned char c : bytes)
            appendUtf8(out, c);
        return out;
    }

    const std::string name(charset);
    if (name.find('\0') != std::string::npos)
        return validUtf8(bytes);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status) || !converter)
        return validUtf8(bytes);
    // Unmapped bytes become U+FFFD rather than stopping the conversion.
    ucnv_setToUCallBack(converter.get(), substituteReplacementCharacter, nullptr, nullptr, nullptr, &status);

    std::string out;
    // ICU counts in int32_t: convert in slices. Breaking a multi-byte sequence at a slice edge is
    // avoided by keeping the converter's state across calls (flush only on the last one).
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    std::u16string buffer(std::min(bytes.size(), kSlice) * 2 + 16, u'\0');
    const char* source = bytes.data();
    const char* const sourceEnd = bytes.data() + bytes.size();
    do {
        const char* sliceEnd =
            (sourceEnd - source) > static_cast<std::ptrdiff_t>(kSlice) ? source + kSlice : sourceEnd;
        UChar* target = buffer.data();
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, buffer.data() + buffer.size(), &source, sliceEnd, nullptr,
                       sliceEnd == sourceEnd, &status);
        if (U_FAILURE(status) && status != U_BUFFER_OVERFLOW_ERROR)
            return validUtf8(bytes);
        icu::UnicodeString piece(false, buffer.data(), static_cast<int32_t>(target - buffer.data()));
        piece.toUTF8String(out);
    } while (source < sourceEnd);
    return out;
}

std::vector<std::string_view> splitAtUnescaped(std::string_view value, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\') {
            ++i;
        } else if (value[i] == separator) {
            pieces.push_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(value.substr(std::min(start, value.size())));
    return pieces;
}

bool nextUnescapedPiece(std::string_view& rest, bool& done, char separator, std::string_view& piece) {
    if (done)
        return false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\\') {
            ++i;
        } else if (rest[i] == separator) {
            piece = rest.substr(0, i);
            rest.remove_prefix(i + 1);
            return true;
        }
    }
    piece = rest;
    rest = {};
    done = true;
    return true;
}

std::string_view unescapedText(std::string_view value, TextArena& arena) {
    if (value.find('\\') == std::string_view::npos)
        return value;
    return arena.keep(unescapedText(value));
}

std::string unescapedText(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            out.push_back(c);
            continue;
        }
        const char next = value[i + 1];
        switch (next) {
        case 'n':
        case 'N':
            out.push_back('\n');
            ++i;
            break;
        case ',':
        case ';':
        case ':':
        case '\\':
            out.push_back(next);
            ++i;
            break;
        default:
            out.push_back(c);
            break;
        }
    }
    return out;
}

} // namespace Platform
