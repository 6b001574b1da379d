#include "MurvelUI/Preferences/PreferencesStatus.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

namespace MurvelUI {

QString symbolOf(PreferencesStatus status) {
    switch (status) {
    case PreferencesStatus::good:
        return QStringLiteral("checkmark.circle");
    case PreferencesStatus::info:
        return QStringLiteral("info.circle");
    case PreferencesStatus::warning:
        return QStringLiteral("exclamationmark.triangle");
    case PreferencesStatus::waiting:
        return QStringLiteral("clock");
    }
    return QStringLiteral("info.circle");
}

QColor colorOf(PreferencesStatus status, MurvelColorScheme scheme, const std::optional<MurvelColor>& tint) {
    switch (status) {
    case PreferencesStatus::good:
        return tint ? tint->resolve(scheme) : SystemPalette::accent(scheme);
    case PreferencesStatus::warning:
        return BrandPalette::attention(scheme);
    case PreferencesStatus::info:
    case PreferencesStatus::waiting:
        break;
    }
    return BrandPalette::secondary(scheme);
}

} // namespace MurvelUI
