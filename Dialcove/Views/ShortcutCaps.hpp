#pragma once

#include "DialcoveCore/Shortcut.hpp"

#include <QStringList>

namespace Dialcove {

// The key caps of a shortcut as a Linux desktop names its keys: the display parts of the shortcut
// (the held modifiers in the order control, option, shift, command, then the key label), each
// through the app's string table, which reads the modifier symbols as Ctrl, Alt, Shift and Super.
// Every view that shows a shortcut draws these; the stored shortcut is unchanged.
QStringList shortcutCaps(const DialcoveCore::Shortcut& shortcut);

} // namespace Dialcove
