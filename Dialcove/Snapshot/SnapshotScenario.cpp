#include "Dialcove/Snapshot/SnapshotScenario.hpp"

#include <QLatin1StringView>

namespace Dialcove {

namespace {

constexpr QLatin1StringView kPrefix("--snapshot-");

} // namespace

std::string_view rawValue(SnapshotScenario scenario) {
    switch (scenario) {
    case SnapshotScenario::menu:
        return "menu";
    case SnapshotScenario::results:
        return "results";
    case SnapshotScenario::contact:
        return "contact";
    case SnapshotScenario::welcome:
        return "welcome";
    case SnapshotScenario::preferences:
        return "preferences";
    case SnapshotScenario::loading:
        return "loading";
    case SnapshotScenario::empty:
        return "empty";
    case SnapshotScenario::failure:
        return "failure";
    case SnapshotScenario::permission:
        return "permission";
    case SnapshotScenario::denied:
        return "denied";
    case SnapshotScenario::restricted:
        return "restricted";
    case SnapshotScenario::conflict:
        return "conflict";
    case SnapshotScenario::off:
        return "off";
    case SnapshotScenario::longContact:
        return "long-contact";
    case SnapshotScenario::externalError:
        return "external-error";
    case SnapshotScenario::shortcutEditor:
        return "shortcut-editor";
    case SnapshotScenario::noResults:
        return "no-results";
    }
    return "menu";
}

std::optional<SnapshotScenario> parseSnapshotScenario(const QStringList& arguments) {
    bool snapshot = false;
    for (const QString& argument : arguments)
        if (argument.startsWith(kPrefix)) {
            snapshot = true;
            break;
        }
    if (!snapshot)
        return std::nullopt;
    // Case order, not argument order: with two scenario switches the earlier case wins.
    for (SnapshotScenario scenario : allSnapshotScenarios) {
        const std::string_view raw = rawValue(scenario);
        const QString flag = kPrefix + QLatin1StringView(raw.data(), qsizetype(raw.size()));
        if (arguments.contains(flag))
            return scenario;
    }
    return SnapshotScenario::menu;
}

} // namespace Dialcove
