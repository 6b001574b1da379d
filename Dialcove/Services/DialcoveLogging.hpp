#pragma once

#include <QLoggingCategory>

namespace Dialcove {

// The app's log categories.
Q_DECLARE_LOGGING_CATEGORY(lcActions)
Q_DECLARE_LOGGING_CATEGORY(lcHotKey)
Q_DECLARE_LOGGING_CATEGORY(lcKeys)
Q_DECLARE_LOGGING_CATEGORY(lcPanel)
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
Q_DECLARE_LOGGING_CATEGORY(lcWorker)

} // namespace Dialcove
