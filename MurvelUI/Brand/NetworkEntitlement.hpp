#pragma once

namespace MurvelUI {

// Whether the running program may open network connections; asked once per process and kept.
bool hasNetworkClientEntitlement();

} // namespace MurvelUI
