#pragma once

#include "DialcoveCore/ShortcutRegistration.hpp"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace DialcoveCore {

// What the status icon shows at a glance.
enum class MenuStatus { ready, disabled, needsPermission, shortcutConflict, copied };

// How long the copied feedback shows after a successful copy.
inline constexpr std::chrono::milliseconds copiedDuration{1500};

// The first that applies: no access gives needsPermission, a conflict gives shortcutConflict, a
// copied deadline strictly after `now` gives copied (even while switched off), then disabled unless
// enabled and registered, else ready. Reads no clock: the caller passes `now`.
MenuStatus deriveMenuStatus(bool enabled, bool authorized, ShortcutRegistration registration,
                            std::optional<std::chrono::steady_clock::time_point> copiedUntil,
                            std::chrono::steady_clock::time_point now);

// The icon name for a status: "<base>.fill" when ready, the base when disabled, a warning triangle
// for the two problems and a check mark after a copy.
std::string symbolName(std::string_view baseName, MenuStatus status);

} // namespace DialcoveCore
