#pragma once

#include "DialcoveCore/Shortcut.hpp"

#include <QStringList>

namespace Dialcove {

// The key caps the app draws for `shortcut`: its display parts, each through the app's string table,
// so that the modifier symbols read as the keys a Linux keyboard has printed on them ("Ctrl", "Alt",
// "Shift", "Super"). Every view that shows a shortcut draws these; the stored shortcut is unchanged.
QStringList shortcutKeyCaps(const DialcoveCore::Shortcut& shortcut);

} // namespace Dialcove
