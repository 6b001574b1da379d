#pragma once

#include <QLoggingCategory>

// The update check's log category: "works.murvel.dialcove.updates".
Q_DECLARE_LOGGING_CATEGORY(lcUpdates)
