#pragma once

namespace Dialcove {

// What the panel shows: hidden with no session, loading every contact, the result list (or the
// recent contacts), one open contact, a failed read, or the notice that address-book access is
// missing.
enum class PanelPhase { closed, loading, list, detail, failure, permission };

} // namespace Dialcove
