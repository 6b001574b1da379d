#include "Dialcove/Shell/StatusIconArt.hpp"

#include "MurvelUI/Brand/SystemPalette.hpp"
#include "Platform/DesktopIdentity.hpp"

namespace Dialcove {

using DialcoveCore::MenuStatus;
using Scheme = Platform::DesktopColorScheme::Scheme;

QString StatusIconArt::themeName(MenuStatus status) {
    const auto state = [status] {
        switch (status) {
        case MenuStatus::ready:
            return "ready";
        case MenuStatus::disabled:
            return "off";
        case MenuStatus::needsPermission:
        case MenuStatus::shortcutConflict:
            return "attention";
        case MenuStatus::copied:
            return "copied";
        }
        return "ready";
    }();
    return Platform::DesktopIdentity::appId() + QLatin1Char('-') + QLatin1String(state) +
           QLatin1String("-symbolic");
}

QColor StatusIconArt::colour(Scheme scheme, const QPalette& palette) {
    switch (scheme) {
    case Scheme::preferDark:
        return MurvelUI::SystemPalette::primary(MurvelUI::MurvelColorScheme::dark);
    case Scheme::preferLight:
        return MurvelUI::SystemPalette::primary(MurvelUI::MurvelColorScheme::light);
    case Scheme::unknown:
    case Scheme::noPreference:
        break;
    }
    return palette.color(QPalette::WindowText);
}

} // namespace Dialcove
