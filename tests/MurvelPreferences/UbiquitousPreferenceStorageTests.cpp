#include "MurvelPreferences/UbiquitousPreferenceStorage.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MurvelPreferences;
using Platform::SyncFolderStore;

namespace {

std::shared_ptr<SyncFolderStore> storeOver(const QString& folder, qint64 quotaBytes) {
    SyncFolderStore::Options options;
    options.debounce = std::chrono::milliseconds(0);
    options.rescanInterval = std::chrono::milliseconds(0);
    options.quota.totalBytes = quotaBytes;
    return std::make_shared<SyncFolderStore>(folder, options);
}

} // namespace

TEST(UbiquitousPreferenceStorage, TakesTheIssueOfEachReportOneTurnLater) {
    QTemporaryDir folder;
    const std::shared_ptr<SyncFolderStore> store = storeOver(folder.path(), 16);
    UbiquitousPreferenceStorage cloud(store);
    std::vector<QSet<QString>> calls;
    cloud.setOnExternalChange([&](const QSet<QString>& keys) { calls.push_back(keys); });

    cloud.set(QByteArray(20, 'x'), "key"); // over the quota
    EXPECT_FALSE(cloud.data("key").has_value());
    EXPECT_TRUE(calls.empty());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return calls.size() == 1; }));
    EXPECT_EQ(calls[0], QSet<QString>{"key"});
    EXPECT_EQ(cloud.issue(), PreferenceCloudIssue::quotaExceeded);

    storeOver(folder.path(), 16)->setData("k", "theirs"); // an ordinary change clears it
    cloud.synchronize();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return calls.size() == 2; }));
    EXPECT_EQ(calls[1], QSet<QString>{"k"});
    EXPECT_EQ(cloud.issue(), std::nullopt);
    EXPECT_EQ(cloud.data("k"), "theirs");

    // A report still on its way when the adapter goes changes nothing.
    auto gone = std::make_unique<UbiquitousPreferenceStorage>(store);
    int goneCalls = 0;
    gone->setOnExternalChange([&](const QSet<QString>&) { ++goneCalls; });
    gone->set(QByteArray(20, 'x'), "key");
    gone.reset();
    TestSupport::drainEvents();
    EXPECT_EQ(goneCalls, 0);
}
