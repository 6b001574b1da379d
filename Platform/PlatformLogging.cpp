#include "Platform/PlatformLogging.hpp"

namespace Platform {

Q_LOGGING_CATEGORY(lcSyncFolder, "works.murvel.dialcove.syncfolder")
Q_LOGGING_CATEGORY(lcDefaults, "works.murvel.dialcove.defaults")
Q_LOGGING_CATEGORY(lcOpener, "works.murvel.dialcove.workspace")

} // namespace Platform
