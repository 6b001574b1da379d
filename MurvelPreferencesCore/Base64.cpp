#include "MurvelPreferencesCore/Base64.hpp"

#include <array>
#include <cstdint>

namespace MurvelPreferencesCore {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> decodingTable() {
    std::array<int, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    return table;
}

constexpr std::array<int, 256> sextets = decodingTable();

} // namespace

std::string base64Encoded(std::string_view bytes) {
    const auto byteAt = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2);
        out += alphabet[group >> 18 & 0x3F];
        out += alphabet[group >> 12 & 0x3F];
        out += alphabet[group >> 6 & 0x3F];
        out += alphabet[group & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const std::uint32_t group = byteAt(i) << 16 | (rest == 2 ? byteAt(i + 1) << 8 : 0);
        out += alphabet[group >> 18 & 0x3F];
        out += alphabet[group >> 12 & 0x3F];
        out += rest == 2 ? alphabet[group >> 6 & 0x3F] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> base64Decoded(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text[text.size() - 2] == '=' ? 2 : 1;

    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const bool padded = last && j >= 4 - padding;
            const int value = padded ? 0 : sextets[static_cast<unsigned char>(text[i + j])];
            if (value < 0)
                return std::nullopt;
            group = group << 6 | static_cast<std::uint32_t>(value);
        }
        out += static_cast<char>(group >> 16 & 0xFF);
        if (!last || padding < 2)
            out += static_cast<char>(group >> 8 & 0xFF);
        if (!last || padding < 1)
            out += static_cast<char>(group & 0xFF);
    }
    return out;
}

} // namespace MurvelPreferencesCore
