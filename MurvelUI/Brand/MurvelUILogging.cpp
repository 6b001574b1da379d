#include "MurvelUI/Brand/MurvelUILogging.hpp"

namespace MurvelUI {

Q_LOGGING_CATEGORY(lcLogin, "works.murvel.dialcove.login")

} // namespace MurvelUI
