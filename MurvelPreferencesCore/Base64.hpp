#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace MurvelPreferencesCore {

// Standard Base64 (RFC 4648 alphabet) with padding and no line breaks.
std::string base64Encoded(std::string_view bytes);

// The bytes of standard padded Base64, or nothing when `text` is not that: a length that is not a
// multiple of 4, a character outside the alphabet, or padding anywhere but the end.
std::optional<std::string> base64Decoded(std::string_view text);

} // namespace MurvelPreferencesCore
