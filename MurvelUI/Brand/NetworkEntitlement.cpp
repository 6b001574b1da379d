#include "MurvelUI/Brand/NetworkEntitlement.hpp"

namespace MurvelUI {

bool hasNetworkClientEntitlement() {
    // Linux grants no per-app network entitlement: the program has network access, and it uses it
    // to fetch the update manifest, so the privacy line must not promise otherwise.
    static const bool entitled = true;
    return entitled;
}

} // namespace MurvelUI
