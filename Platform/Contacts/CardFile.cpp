#include "Platform/Contacts/CardFile.hpp"

#include <QFile>
#include <cerrno>
#include <unistd.h>

namespace Platform {

QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
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
