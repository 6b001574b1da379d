#pragma once

#include "DialcoveCore/Shortcut.hpp"

#include <QStringList>

namespace Dialcove {

// The key caps of a shortcut as a Linux desktop names its keys: the held modifiers in the order
// Ctrl, Alt, Shift, Super (the model's control, option, shift and command), then the key label.
QStringList shortcutCaps(const DialcoveCore::Shortcut& shortcut);

} // namespace Dialcove
