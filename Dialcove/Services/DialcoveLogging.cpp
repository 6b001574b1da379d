#include "Dialcove/Services/DialcoveLogging.hpp"

namespace Dialcove {

Q_LOGGING_CATEGORY(lcHotKey, "works.murvel.dialcove.hotkey")
Q_LOGGING_CATEGORY(lcPanel, "works.murvel.dialcove.panel")
Q_LOGGING_CATEGORY(lcWorker, "works.murvel.dialcove.worker", QtInfoMsg)
Q_LOGGING_CATEGORY(lcKeys, "works.murvel.dialcove.keys")
Q_LOGGING_CATEGORY(lcSearch, "works.murvel.dialcove.search")
Q_LOGGING_CATEGORY(lcActions, "works.murvel.dialcove.actions")

} // namespace Dialcove
