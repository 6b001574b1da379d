#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// The folded form: case-, diacritic- and width-insensitive under en_US_POSIX, then lower-cased,
// as NFC UTF-8 so byte comparison agrees with canonical equivalence. "Émile" and "emile" fold
// alike, full-width "ＡＢＣ" folds to "abc"; letters with no decomposition ("ø", "ł") stay.
std::string foldedForm(std::string_view text);

// The folded text split at every character that is neither a letter nor a number ("O'Neil" gives
// "o", "neil"); empty pieces are dropped.
std::vector<std::string> searchWords(std::string_view text);

// Splits text that is already folded, as searchWords does after folding.
std::vector<std::string> splitWords(std::string_view folded);

// The ASCII digits "0" to "9" of `text`, in order; digits of other scripts are dropped.
std::string digits(std::string_view text);

} // namespace DialcoveCore
