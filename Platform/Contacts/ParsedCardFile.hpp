#pragma once

#include "DialcoveCore/PackedContacts.hpp"

#include <cstdint>
#include <string>

namespace Platform {

// What one reading of one card file gave: its contacts in file order, group cards left out,
// packed. Immutable, and shared by every book assembled while the file stays as it was.
struct ParsedCardFile {
    std::string relative; // below the folder, as raw file-name bytes
    DialcoveCore::PackedContacts contacts;
    std::uint64_t serial = 0; // one per reading of any file, never reused
};

} // namespace Platform
