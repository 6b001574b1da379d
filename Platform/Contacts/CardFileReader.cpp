#include "Platform/Contacts/CardFileReader.hpp"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

std::optional<std::string_view> CardFileReader::read(const std::string& relative, int folder,
                                                     CardFileIdentity& identity, const char*& failure) {
    release();
    // Opened relative to the folder: a shorter path to walk for each of thousands of files.
    const int descriptor = openCardFile(folder, relative);
    if (descriptor < 0) {
        failure = "skipped unreadable file";
        return std::nullopt;
    }
    const auto bytes = readOpen(descriptor, identity, failure);
    ::close(descriptor);
    return bytes;
}

void CardFileReader::consumed(std::size_t offset) {
    if (!mapping_)
        return;
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t through = std::min(offset, mappedSize_) / page * page;
    if (through < released_ + kMappedFrom)
        return;
    ::madvise(static_cast<char*>(mapping_) + released_, through - released_, MADV_DONTNEED);
    released_ = through;
}

std::optional<std::string_view> CardFileReader::readOpen(int descriptor, CardFileIdentity& identity,
                                                         const char*& failure) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        failure = "skipped unreadable file";
        return std::nullopt;
    }
    identity = CardFileIdentity::of(info);
    if (!S_ISREG(info.st_mode)) {
        failure = "skipped what is no file";
        return std::nullopt;
    }
    if (info.st_size > kCardFileSizeLimit) {
        failure = "skipped file too large to be an address book";
        return std::nullopt;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    char* target = nullptr;
    if (size >= kMappedFrom) {
        void* mapping = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping == MAP_FAILED) {
            failure = "skipped file too large to read";
            return std::nullopt;
        }
        mapping_ = mapping;
        mappedSize_ = size;
        released_ = 0;
        target = static_cast<char*>(mapping);
    } else {
        buffer_.resize(size);
        target = buffer_.data();
    }
    const auto filled = readInto(descriptor, target, size);
    if (!filled) {
        failure = "skipped unreadable file";
        return std::nullopt;
    }
    return std::string_view(target, *filled);
}

void CardFileReader::release() {
    if (mapping_)
        ::munmap(mapping_, mappedSize_);
    mapping_ = nullptr;
    mappedSize_ = 0;
    released_ = 0;
}

} // namespace Platform
