#include "MurvelUI/Welcome/WelcomeStepState.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"

namespace MurvelUI {

QString symbolOf(WelcomeStepState state) {
    switch (state) {
    case WelcomeStepState::todo:
        break;
    case WelcomeStepState::done:
        return QStringLiteral("checkmark.circle.fill");
    case WelcomeStepState::attention:
        return QStringLiteral("exclamationmark.triangle");
    }
    return QStringLiteral("circle");
}

MurvelColor colorOf(WelcomeStepState state) {
    switch (state) {
    case WelcomeStepState::todo:
        break;
    case WelcomeStepState::done:
        return MurvelColor::of(&PrivacyGreen::color);
    case WelcomeStepState::attention:
        return MurvelColor::of(&BrandPalette::attention);
    }
    return MurvelColor::of(&BrandPalette::secondary);
}

} // namespace MurvelUI
