#pragma once

namespace MurvelUI {

class MurvelButton;

// The kit's one look for menus and pickers in preference forms, and for the action of a status
// row: a bordered button with capsule ends at the large control size, in the `support` font and the
// primary colour (not the window's tint), as wide as its label and never stretched, with the kit's
// capsule focus ring after keyboard use.
void applyPreferencesMenuStyle(MurvelButton* button);

} // namespace MurvelUI
