#pragma once

#include <QLoggingCategory>

namespace Platform {

// The log categories of the Linux layer's neutral services.
Q_DECLARE_LOGGING_CATEGORY(lcDefaults)
Q_DECLARE_LOGGING_CATEGORY(lcOpener)
Q_DECLARE_LOGGING_CATEGORY(lcSyncFolder)

} // namespace Platform
