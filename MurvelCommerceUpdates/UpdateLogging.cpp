#include "MurvelCommerceUpdates/UpdateLogging.hpp"

Q_LOGGING_CATEGORY(lcUpdates, "works.murvel.dialcove.updates")
