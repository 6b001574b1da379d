#pragma once

#include <QLoggingCategory>

namespace MurvelUI {

// The UI kit's log categories.
Q_DECLARE_LOGGING_CATEGORY(lcLogin)

} // namespace MurvelUI
