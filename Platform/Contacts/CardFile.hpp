#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace Platform {

// One .vcf file of the address book folder.
struct CardFile {
    std::string relative; // below the folder, '/'-separated, as raw file-name bytes
    std::string absolute;
};

// What tells one version of a file from another without reading it: where it lives (device and
// inode), its size, and when its content and its inode last changed, to the nanosecond the file
// system keeps. A file rewritten in place, renamed over or replaced changes at least one of them,
// except on a file system whose clock is coarser than the rewrite (see AddressBookCache).
struct CardFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
    std::int64_t changed = 0;  // nanoseconds since the epoch

    static CardFileIdentity of(const struct stat& info);

    friend bool operator==(const CardFileIdentity&, const CardFileIdentity&) = default;
};

// A file larger than this is not an address book a person keeps; it is skipped unread.
constexpr off_t kCardFileSizeLimit = off_t{256} << 20;
// From this size a file is read into a mapping of its own (see CardFileReader).
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

// A name the address book reads: ".vcf" or ".vcard" in any case, not hidden (no leading dot).
bool isCardFileName(std::string_view name);
// A name left alone, file or folder: hidden ones are a sync tool's temporary files and folders.
bool isHiddenName(std::string_view name);

// The entries of a folder open as `descriptor`, calling `onEntry` with each name that is not
// hidden and whether it is a regular file or a folder (symbolic links followed, as opening
// them would). False when the folder cannot be listed.
bool listFolder(int descriptor,
                const std::function<void(std::string_view name, bool regular, bool folder)>& onEntry);

// A path of raw file-name bytes as the log shows it.
QString displayPath(const std::string& path);

// Opens a file below `folder` for reading, never blocking: a FIFO put in a card's place opens at
// once (and is then no regular file). -1 when it cannot be opened.
int openCardFile(int folder, const std::string& relative);

// Reads up to `size` bytes of an open file into `target`: how many there were (fewer when it
// shrank since its size was read), none when reading failed.
std::optional<std::size_t> readInto(int descriptor, char* target, std::size_t size);

} // namespace Platform
