#pragma once

#include <array>

namespace MurvelUI {

// The user's text size, from extra small up to the five accessibility sizes.
enum class MurvelTypeSize {
    xSmall,
    small,
    medium,
    large, // the default
    xLarge,
    xxLarge,
    xxxLarge,
    accessibility1,
    accessibility2,
    accessibility3,
    accessibility4,
    accessibility5,
};

inline constexpr std::array<MurvelTypeSize, 12> allTypeSizes = {
    MurvelTypeSize::xSmall,         MurvelTypeSize::small,          MurvelTypeSize::medium,
    MurvelTypeSize::large,          MurvelTypeSize::xLarge,         MurvelTypeSize::xxLarge,
    MurvelTypeSize::xxxLarge,       MurvelTypeSize::accessibility1, MurvelTypeSize::accessibility2,
    MurvelTypeSize::accessibility3, MurvelTypeSize::accessibility4, MurvelTypeSize::accessibility5,
};

constexpr bool isAccessibilitySize(MurvelTypeSize size) {
    return size >= MurvelTypeSize::accessibility1;
}

} // namespace MurvelUI
