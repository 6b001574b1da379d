#pragma once

#include <string>
#include <string_view>

// A card's texts as the app shows and copies them. Cards come from anyone (shared, synced,
// imported), so the bidi controls they hold are not honoured: an override or embedding could show
// a name or number in an order other than its text, one the search then finds under other letters.
namespace DialcoveCore {

// `text` without the bidi embedding, override and isolate controls (U+202A to U+202E, U+2066 to
// U+2069). The marks (U+200E, U+200F, U+061C) stay: they set no direction for what follows.
std::string withoutBidiControls(std::string_view text);

// withoutBidiControls(text) in a first-strong isolate (U+2068 ... U+2069), so that it keeps its own
// direction and cannot reorder the text beside it. Empty text stays empty.
std::string isolated(std::string_view text);

// A subtitle as Contact::subtitle joins it ("Acme · Designer") with each part isolated, so that
// an organization written right to left cannot swap places with the job title.
std::string isolatedSubtitle(std::string_view subtitle);

} // namespace DialcoveCore
