#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QString>

namespace MurvelUI {

// What an inline notice tells: a warning, a wait, or information.
enum class NoticeKind { warning, waiting, info };

// "exclamationmark.triangle", "clock" or "info.circle".
QString symbolOf(NoticeKind kind);
// The attention colour for a warning, the secondary colour otherwise.
MurvelColor symbolColorOf(NoticeKind kind);

} // namespace MurvelUI
