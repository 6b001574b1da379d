#pragma once

namespace Dialcove {

// Names the running application "Dialcove" with the version this build was made as, so the
// footer, the update check and the settings folder agree, and names its menu entry by the app id.
void applyApplicationIdentity();

} // namespace Dialcove
