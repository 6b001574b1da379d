#pragma once

class QPalette;

namespace MurvelUI {

// The appearance a view draws in. Every scheme that is not dark counts as light.
enum class MurvelColorScheme { light, dark };

// Dark when the palette's window colour is dark: Qt 6.4 has no colour-scheme API of its own.
MurvelColorScheme colorSchemeOf(const QPalette& palette);

} // namespace MurvelUI
