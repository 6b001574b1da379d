#include "DialcoveCore/MenuStatus.hpp"

namespace DialcoveCore {

MenuStatus deriveMenuStatus(bool enabled, bool authorized, ShortcutRegistration registration,
                            std::optional<std::chrono::steady_clock::time_point> copiedUntil,
                            std::chrono::steady_clock::time_point now) {
    if (!authorized)
        return MenuStatus::needsPermission;
    if (registration == ShortcutRegistration::conflict)
        return MenuStatus::shortcutConflict;
    if (copiedUntil && *copiedUntil > now)
        return MenuStatus::copied;
    if (!enabled || registration != ShortcutRegistration::registered)
        return MenuStatus::disabled;
    return MenuStatus::ready;
}

std::string symbolName(std::string_view baseName, MenuStatus status) {
    switch (status) {
    case MenuStatus::ready:
        return std::string(baseName) + ".fill";
    case MenuStatus::disabled:
        return std::string(baseName);
    case MenuStatus::needsPermission:
    case MenuStatus::shortcutConflict:
        return "exclamationmark.triangle.fill";
    case MenuStatus::copied:
        return "checkmark";
    }
    return std::string(baseName);
}

} // namespace DialcoveCore
