#pragma once

#include <QLoggingCategory>

// The address book's log category, shared by its reader, watcher and dialogs.
Q_DECLARE_LOGGING_CATEGORY(lcAddressBook)
