#pragma once

#include <QLoggingCategory>

namespace Platform {

// The X11 layer's log categories.
Q_DECLARE_LOGGING_CATEGORY(lcFocus)
Q_DECLARE_LOGGING_CATEGORY(lcHotKey)
Q_DECLARE_LOGGING_CATEGORY(lcKeys)
Q_DECLARE_LOGGING_CATEGORY(lcX11)

} // namespace Platform
