#include "DialcoveCore/UUIDString.hpp"

#include <uuid/uuid.h>

namespace DialcoveCore {

std::string freshUUIDString() {
    uuid_t uuid;
    uuid_generate_random(uuid);
    char text[37];
    uuid_unparse_upper(uuid, text);
    return std::string(text, 36);
}

} // namespace DialcoveCore
