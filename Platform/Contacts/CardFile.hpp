#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <sys/types.h>

namespace Platform {

// One .vcf file of the address book folder.
struct CardFile {
    std::string relative; // below the folder, '/'-separated, as raw file-name bytes
    std::string absolute;
};

// A file larger than this is not an address book a person keeps; it is skipped unread.
constexpr off_t kCardFileSizeLimit = off_t{256} << 20;
// From this size a file is read into a mapping of its own (see CardFileReader).
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

// A path of raw file-name bytes as the log shows it.
QString displayPath(const std::string& path);

// Reads up to `size` bytes of an open file into `target`: how many there were (fewer when it
// shrank since its size was read), none when reading failed.
std::optional<std::size_t> readInto(int descriptor, char* target, std::size_t size);

} // namespace Platform
