#pragma once

#include "DialcoveCore/ContactID.hpp"

#include <initializer_list>
#include <vector>

namespace TestSupport {

// Contact identifiers written as a list of texts, for expectations that read as a list.
inline std::vector<DialcoveCore::ContactID> contactIDs(std::initializer_list<const char*> raw) {
    std::vector<DialcoveCore::ContactID> ids;
    for (const char* id : raw)
        ids.emplace_back(id);
    return ids;
}

} // namespace TestSupport
