#include "Platform/Contacts/CardFile.hpp"

#include "Platform/VCard/VCard.hpp"

#include <QFile>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace Platform {

CardFileIdentity CardFileIdentity::of(const struct stat& info) {
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

bool isHiddenName(std::string_view name) {
    return name.empty() || name.front() == '.';
}

bool isCardFileName(std::string_view name) {
    if (isHiddenName(name))
        return false;
    const auto endsWith = [&](std::string_view suffix) {
        return name.size() > suffix.size() &&
               equalsIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
    };
    return endsWith(".vcf") || endsWith(".vcard");
}

bool listFolder(int descriptor,
                const std::function<void(std::string_view name, bool regular, bool folder)>& onEntry) {
    const int copy = ::dup(descriptor);
    DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (dir == nullptr) {
        if (copy >= 0)
            ::close(copy);
        return false;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (isHiddenName(name))
            continue;
        bool regular = entry->d_type == DT_REG;
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            if (::fstatat(descriptor, entry->d_name, &info, 0) != 0)
                continue;
            regular = S_ISREG(info.st_mode);
            folder = S_ISDIR(info.st_mode);
        }
        onEntry(name, regular, folder);
    }
    ::closedir(dir);
    return true;
}

QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

int openCardFile(int folder, const std::string& relative) {
    return ::openat(folder, relative.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

std::optional<std::size_t> readInto(int descriptor, char* target, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t count = ::read(descriptor, target + filled, size - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    return filled;
}

} // namespace Platform
