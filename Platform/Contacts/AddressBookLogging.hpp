#pragma once

#include <QLoggingCategory>

namespace Platform {

// The contacts backend's log category, shared by its reader, watcher and dialogs.
Q_DECLARE_LOGGING_CATEGORY(lcAddressBook)

} // namespace Platform
