#pragma once

#include "Platform/VCard/VCard.hpp"
#include "Platform/VCard/VCardView.hpp"

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

namespace Platform {

// Reads the cards of one .vcf file, in file order: vCard 2.1, 3.0 and 4.0, CRLF, LF or CR line
// ends (CRs before a line feed count as one line end), a UTF-8 or UTF-16 byte-order mark, folded lines,
// quoted-printable soft line breaks, property groups and parameters in every form.
//
// Nothing in the input is trusted: no length or count is read from it, and a card nested in an
// AGENT property is skipped by counting, not by recursion. A card that holds whole cards between
// its BEGIN:VCARD and END:VCARD is read as it is, and so is each card inside it, up to 8 cards
// open at once (one nested deeper is skipped). A card still open at the end of the file keeps
// what it had. Cards come out in the order they begin, so a card nesting others comes out ahead
// of them, once it has ended. A line that is not a property is skipped. Each skip, and each card
// kept without its END:VCARD, is reported to `onProblem` with the card's position (0 for the file
// as a whole) and never stops the reading. `onCard` receives every card that was read and
// returns false to stop.
//
// With `properties` given (upper-case names), only those are kept; the lines of any other (a
// photo, a note) are passed over without being decoded.
//
// `onConsumed`, when given, hears how long a leading part of `bytes` the reading is done with: it
// never looks at those bytes again, so a caller may release their memory while the rest is read.
void readVCards(std::string_view bytes, const std::function<bool(VCard&&)>& onCard,
                const std::function<void(std::size_t position, std::string_view problem)>& onProblem = {},
                std::span<const std::string_view> properties = {},
                const std::function<void(std::size_t consumed)>& onConsumed = {});

// The same, handing each card on as it is read: its texts are views into `bytes` (or into the
// reader's own copies), valid only during the call. Nothing is copied that a view can show.
void readVCardViews(std::string_view bytes, const std::function<bool(const VCardView&)>& onCard,
                    const std::function<void(std::size_t position, std::string_view problem)>& onProblem = {},
                    std::span<const std::string_view> properties = {},
                    const std::function<void(std::size_t consumed)>& onConsumed = {});

} // namespace Platform
