#pragma once

#include <string>

namespace DialcoveCore {

// A new random UUID in upper-case canonical form, "8-4-4-4-12" hexadecimal digits: the text of
// session, revision and writer identifiers. Callers that must be predictable in tests take a
// generator instead of calling this directly.
std::string freshUUIDString();

} // namespace DialcoveCore
