#include "DialcoveCore/DisplayText.hpp"

namespace DialcoveCore {

namespace {

constexpr std::string_view firstStrongIsolate = "\u2068";
constexpr std::string_view popDirectionalIsolate = "\u2069";
constexpr std::string_view subtitleSeparator = " \u00B7 ";

// U+202A-U+202E are E2 80 AA-AE and U+2066-U+2069 are E2 81 A6-A9 in UTF-8; no other sequence
// holds those three bytes in a row, valid or not, so a byte scan finds exactly them.
bool isBidiControlAt(std::string_view text, std::size_t at) {
    if (at + 2 >= text.size() || static_cast<unsigned char>(text[at]) != 0xE2)
        return false;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const auto third = static_cast<unsigned char>(text[at + 2]);
    return (second == 0x80 && third >= 0xAA && third <= 0xAE) ||
           (second == 0x81 && third >= 0xA6 && third <= 0xA9);
}

} // namespace

std::string withoutBidiControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (isBidiControlAt(text, at)) {
            at += 3;
            continue;
        }
        out.push_back(text[at++]);
    }
    return out;
}

std::string isolated(std::string_view text) {
    if (text.empty())
        return {};
    std::string out(firstStrongIsolate);
    out += withoutBidiControls(text);
    out += popDirectionalIsolate;
    return out;
}

std::string isolatedSubtitle(std::string_view subtitle) {
    std::string out;
    for (;;) {
        const std::size_t separator = subtitle.find(subtitleSeparator);
        out += isolated(subtitle.substr(0, separator));
        if (separator == std::string_view::npos)
            return out;
        out += subtitleSeparator;
        subtitle.remove_prefix(separator + subtitleSeparator.size());
    }
}

} // namespace DialcoveCore
