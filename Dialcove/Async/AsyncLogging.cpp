#include "Dialcove/Async/AsyncLogging.hpp"

namespace Dialcove {

Q_LOGGING_CATEGORY(lcTasks, "works.murvel.dialcove.tasks")

} // namespace Dialcove
