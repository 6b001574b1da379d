#include "Dialcove/Snapshot/SnapshotScenario.hpp"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace Dialcove;

TEST(SnapshotScenario, ParsesTheArgumentsInOneTable) {
    struct Row {
        QStringList arguments;
        std::optional<SnapshotScenario> expected;
    };
    const std::vector<Row> table{
        {{}, std::nullopt},
        {{"dialcove", "--verbose", "-snapshot-menu"}, std::nullopt},
        // Only a leading prefix counts.
        {{"dialcove", "x--snapshot-menu"}, std::nullopt},
        {{"dialcove", "--snapshot-"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-bogus"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-dark"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-welcome-allowed"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-Results"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-results"}, SnapshotScenario::results},
        {{"dialcove", "--snapshot-no-results", "--snapshot-results"}, SnapshotScenario::results},
        {{"dialcove", "--snapshot-results", "--snapshot-no-results"}, SnapshotScenario::results},
        {{"dialcove", "--snapshot-loading", "--snapshot-menu"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-long-contact"}, SnapshotScenario::longContact},
        {{"dialcove", "--snapshot-contact", "--snapshot-long-contact"}, SnapshotScenario::contact},
        // The case name is not its switch.
        {{"dialcove", "--snapshot-longContact"}, SnapshotScenario::menu},
        {{"dialcove", "--snapshot-dark", "--snapshot-shortcut-editor", "--snapshot-large-text"},
         SnapshotScenario::shortcutEditor},
        {{"dialcove", "--snapshot-menu "}, SnapshotScenario::menu},
    };
    for (const Row& row : table)
        EXPECT_EQ(parseSnapshotScenario(row.arguments), row.expected)
            << row.arguments.join(' ').toStdString();
}

TEST(SnapshotScenario, EveryCaseIsSelectedByItsOwnSwitchAlone) {
    std::set<std::string> raws;
    for (SnapshotScenario scenario : allSnapshotScenarios) {
        const std::string raw(rawValue(scenario));
        EXPECT_TRUE(raws.insert(raw).second) << raw;
        const QString flag = QStringLiteral("--snapshot-") + QString::fromStdString(raw);
        EXPECT_EQ(parseSnapshotScenario({"dialcove", flag}), scenario) << raw;
    }
    EXPECT_EQ(rawValue(SnapshotScenario::externalError), "external-error");
    EXPECT_EQ(rawValue(SnapshotScenario::shortcutEditor), "shortcut-editor");
    EXPECT_EQ(rawValue(SnapshotScenario::noResults), "no-results");
}
