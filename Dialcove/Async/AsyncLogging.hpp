#pragma once

#include <QLoggingCategory>

namespace Dialcove {

// The async helpers' own log category, so that they depend on nothing else of the app.
Q_DECLARE_LOGGING_CATEGORY(lcTasks)

} // namespace Dialcove
