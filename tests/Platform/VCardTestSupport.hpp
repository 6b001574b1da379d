#pragma once

#include "DialcoveCore/Contact.hpp"
#include "Platform/VCard/VCardConversion.hpp"
#include "Platform/VCard/VCardReading.hpp"

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Reading fixtures and cards in the reader's tests.
namespace VCardTestSupport {

inline std::string fixturePath(const std::string& name) {
    return std::string(DIALCOVE_FIXTURES) + "/" + name;
}

inline std::string fixture(const std::string& name) {
    std::ifstream file(fixturePath(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

struct Reading {
    std::vector<Platform::VCard> cards;
    std::vector<std::pair<std::size_t, std::string>> problems;
};

inline Reading read(std::string_view bytes) {
    Reading reading;
    Platform::readVCards(
        bytes,
        [&](Platform::VCard&& card) {
            reading.cards.push_back(std::move(card));
            return true;
        },
        [&](std::size_t position, std::string_view problem) {
            reading.problems.emplace_back(position, problem);
        });
    return reading;
}

// The contacts of the cards in `bytes`, in file order, with fallback identifiers "card<position>".
inline std::vector<DialcoveCore::Contact> contacts(std::string_view bytes) {
    std::vector<DialcoveCore::Contact> out;
    for (const auto& card : read(bytes).cards)
        if (auto contact = Platform::contactFromVCard(card, "card" + std::to_string(card.position)))
            out.push_back(std::move(*contact));
    return out;
}

// One card around the given content lines (LF ends), as a 3.0 file unless said otherwise.
inline std::string card(const std::string& lines, const std::string& version = "3.0") {
    return "BEGIN:VCARD\nVERSION:" + version + "\n" + lines + "END:VCARD\n";
}

} // namespace VCardTestSupport
