#pragma once

#include <QStringList>
#include <array>
#include <optional>
#include <string_view>

namespace Dialcove {

// One fixed state the app can be drawn in from fixtures instead of running live, chosen by a
// "--snapshot-<raw value>" switch. The order of the cases decides which of two switches wins.
enum class SnapshotScenario {
    menu,
    results,
    contact,
    welcome,
    preferences,
    loading,
    empty,
    failure,
    permission,
    denied,
    restricted,
    conflict,
    off,
    longContact,
    externalError,
    shortcutEditor,
    noResults,
};

inline constexpr std::array<SnapshotScenario, 17> allSnapshotScenarios = {
    SnapshotScenario::menu,          SnapshotScenario::results,
    SnapshotScenario::contact,       SnapshotScenario::welcome,
    SnapshotScenario::preferences,   SnapshotScenario::loading,
    SnapshotScenario::empty,         SnapshotScenario::failure,
    SnapshotScenario::permission,    SnapshotScenario::denied,
    SnapshotScenario::restricted,    SnapshotScenario::conflict,
    SnapshotScenario::off,           SnapshotScenario::longContact,
    SnapshotScenario::externalError, SnapshotScenario::shortcutEditor,
    SnapshotScenario::noResults,
};

// The case's name, hyphenated where it has two words ("long-contact").
std::string_view rawValue(SnapshotScenario scenario);

// The scenario the process arguments name: none (live mode) when no argument begins with
// "--snapshot-"; else the earliest case whose whole switch is one of the arguments, else `menu`,
// so a modifier alone ("--snapshot-dark") or an unknown word still draws the menu.
std::optional<SnapshotScenario> parseSnapshotScenario(const QStringList& arguments);

} // namespace Dialcove
