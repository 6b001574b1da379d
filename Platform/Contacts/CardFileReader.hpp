#pragma once

#include "Platform/Contacts/CardFile.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

// Reads card files one after another. Small files share one reused buffer; a large one (an
// export of the whole book) gets its own anonymous mapping, returned to the system as soon as
// the next file is read, so a load does not leave a file-sized hole in the heap behind it. The
// part of a mapping the cards were read from goes back as the reading moves on (see consumed),
// so a large export and the contacts made of it are not held at the same time.
class CardFileReader {
public:
    CardFileReader() = default;
    CardFileReader(const CardFileReader&) = delete;
    CardFileReader& operator=(const CardFileReader&) = delete;
    ~CardFileReader() { release(); }

    // The bytes of the file below `folder`, valid until the next call, and in `identity` the file
    // they were read from; none, with `failure` saying why for the log, when it cannot be read,
    // is no regular file or is too large. A file that grows while it is read is taken as far as
    // it was when opened.
    std::optional<std::string_view> read(const std::string& relative, int folder, CardFileIdentity& identity,
                                         const char*& failure);

    // Nothing before `offset` of the bytes last read is looked at again. Whole pages of a mapping
    // behind it are returned, a megabyte or more at a time.
    void consumed(std::size_t offset);

private:
    std::optional<std::string_view> readOpen(int descriptor, CardFileIdentity& identity,
                                             const char*& failure);
    void release();

    std::string buffer_;
    void* mapping_ = nullptr;
    std::size_t mappedSize_ = 0;
    std::size_t released_ = 0; // the leading part of the mapping already returned
};

} // namespace Platform
