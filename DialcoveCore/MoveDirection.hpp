#pragma once

namespace DialcoveCore {

// The direction of one step through a list; moves stop at the ends and never wrap.
enum class MoveDirection { previous, next };

} // namespace DialcoveCore
