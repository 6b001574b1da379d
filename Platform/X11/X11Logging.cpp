#include "Platform/X11/X11Logging.hpp"

namespace Platform {

Q_LOGGING_CATEGORY(lcKeys, "works.murvel.dialcove.keys")
Q_LOGGING_CATEGORY(lcHotKey, "works.murvel.dialcove.hotkey")
Q_LOGGING_CATEGORY(lcX11, "works.murvel.dialcove.x11")
Q_LOGGING_CATEGORY(lcFocus, "works.murvel.dialcove.panel")

} // namespace Platform
