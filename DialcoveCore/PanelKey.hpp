#pragma once

namespace DialcoveCore {

// The keys the search panel handles itself. `copy` is the copy chord (Control-C here) and
// `commandEnter` that modifier with Return or keypad Enter; which events give which key is the
// key router's business.
enum class PanelKey { up, down, left, right, enter, keypadEnter, escape, copy, commandEnter };

} // namespace DialcoveCore
