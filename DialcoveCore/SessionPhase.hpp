#pragma once

namespace DialcoveCore {

// Where the session guard stands: closed, loading the contacts, ready for queries and actions,
// the load failed, or blocked for lack of address-book access.
enum class SessionPhase { closed, loading, ready, failed, blocked };

} // namespace DialcoveCore
