#pragma once

#include <QLoggingCategory>

namespace MurvelPreferences {

// The preferences' log categories.
Q_DECLARE_LOGGING_CATEGORY(lcSync)

} // namespace MurvelPreferences
