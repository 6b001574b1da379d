#include "MurvelPreferences/MurvelPreferencesLogging.hpp"

namespace MurvelPreferences {

Q_LOGGING_CATEGORY(lcSync, "works.murvel.dialcove.sync")

} // namespace MurvelPreferences
