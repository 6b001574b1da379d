#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"
#include "tests/MurvelPreferences/MemoryStores.hpp"
#include "tests/support/QtPrinters.hpp"

#include <gtest/gtest.h>
#include <limits>

using namespace MurvelPreferences;
using MurvelPreferencesCore::PreferenceRecord;

namespace {

const QString mine = "AAAAAAAA-0000-4000-8000-000000000001";
const QString theirs = "FFFFFFFF-0000-4000-8000-000000000002";
const QString enabled = "enabled";
const QString plan = "phonePlan";
const QString storageEnabled = PreferenceSync::recordPrefix + enabled;
const QString storagePlan = PreferenceSync::recordPrefix + plan;

QByteArray recordBytes(std::uint64_t revision, const QString& writer, std::optional<std::string> payload) {
    return QByteArray::fromStdString(
        *PreferenceRecord(revision, writer.toStdString(), std::move(payload)).encoded());
}

class PreferenceSyncRules : public ::testing::Test {
protected:
    std::unique_ptr<PreferenceSync> makeSync(PreferenceSync::AccountProvider provider,
                                             QString writer = mine) {
        auto sync = std::make_unique<PreferenceSync>(local, cloud, QSet<QString>{enabled, plan},
                                                     std::move(writer), identity, std::move(provider));
        QObject::connect(sync.get(), &PreferenceSync::issueChanged, [this] { ++issueChanges; });
        return sync;
    }
    std::unique_ptr<PreferenceSync> makeSync() {
        return makeSync([this] { return identity; });
    }
    // Counts the handler's calls and what it read each time.
    void observe(PreferenceSync& sync, const QString& key) {
        sync.addObserver(key, [this, &sync, key] { seen.push_back(sync.value<bool>(key)); });
    }

    std::shared_ptr<MemoryStorage> local = std::make_shared<MemoryStorage>();
    std::shared_ptr<MemoryCloud> cloud = std::make_shared<MemoryCloud>();
    PreferenceAccountIdentity identity = PreferenceAccountIdentity::account("MARKER-1");
    std::vector<std::optional<bool>> seen;
    int issueChanges = 0;
};

} // namespace

TEST_F(PreferenceSyncRules, FirstWriteIsRevisionOneInBothStores) {
    const auto sync = makeSync();
    EXPECT_EQ(cloud->synchronizations, 1);
    sync->set(true, enabled);
    const QByteArray expected = "{\"version\":1,\"revision\":1,\"writer\":\"" + mine.toUtf8() +
                                "\",\"payload\":\"dHJ1ZQ==\"}"; // "true"
    EXPECT_EQ(local->values.value(storageEnabled), expected);
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), expected);
    EXPECT_EQ(local->values.value(PreferenceSync::accountKey), "MARKER-1");
    EXPECT_EQ(sync->value<bool>(enabled), true);
}

TEST_F(PreferenceSyncRules, WriteFollowsTheWinnerOfBothStores) {
    const auto sync = makeSync();
    local->set(recordBytes(4, mine, "false"), storageEnabled);
    cloud->set(recordBytes(9, theirs, "false"), storageEnabled);
    sync->set(true, enabled);
    for (const QByteArray& stored :
         {local->values.value(storageEnabled), cloud->stored.values.value(storageEnabled)})
        EXPECT_EQ(stored, recordBytes(10, mine, "true"));
}

TEST_F(PreferenceSyncRules, ConstructionMergesEveryKeyBothWays) {
    local->set("MARKER-1", PreferenceSync::accountKey);
    local->set(recordBytes(2, mine, "false"), storageEnabled);
    cloud->set(recordBytes(1, theirs, "true"), storageEnabled);
    cloud->set(recordBytes(3, theirs, "\"portugal\""), storagePlan);
    const auto sync = makeSync();
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), recordBytes(2, mine, "false"));
    EXPECT_EQ(local->values.value(storagePlan), recordBytes(3, theirs, "\"portugal\""));
    EXPECT_EQ(sync->value<std::string>(plan), "portugal");
}

TEST_F(PreferenceSyncRules, ExternalChangeMergesOnlyTheKeysItNames) {
    const auto sync = makeSync();
    observe(*sync, enabled);
    int planCalls = 0;
    sync->addObserver(plan, [&] { ++planCalls; });
    cloud->set(recordBytes(1, theirs, "false"), storageEnabled);
    cloud->set(recordBytes(1, theirs, "\"spain\""), storagePlan);

    cloud->report({storageEnabled});
    EXPECT_EQ(sync->value<bool>(enabled), false);
    EXPECT_FALSE(sync->value<std::string>(plan).has_value());
    EXPECT_EQ(seen, (std::vector<std::optional<bool>>{false})); // the new value is readable at once
    EXPECT_EQ(planCalls, 0);

    cloud->report({}); // an empty set means every key
    EXPECT_EQ(sync->value<std::string>(plan), "spain");
    EXPECT_EQ(planCalls, 1);
    EXPECT_EQ(seen.size(), 1u); // nothing new for "enabled"
}

TEST_F(PreferenceSyncRules, RegainedAccountMergesEveryKeyWhateverTheReportNames) {
    identity = PreferenceAccountIdentity::unavailable();
    const auto sync = makeSync();
    EXPECT_EQ(sync->issue(), PreferenceCloudIssue::accountUnavailable);
    cloud->set(recordBytes(1, theirs, "\"spain\""), storagePlan);

    identity = PreferenceAccountIdentity::account("MARKER-1");
    cloud->report({storageEnabled});
    EXPECT_EQ(sync->issue(), std::nullopt);
    EXPECT_EQ(sync->value<std::string>(plan), "spain");
    EXPECT_EQ(issueChanges, 1); // the clearing; the construction set it before anyone listened
}

TEST_F(PreferenceSyncRules, QuotaReportStopsMergesAndKeepsWritesLocalUntilAnOrdinaryChange) {
    const auto sync = makeSync();
    cloud->set(recordBytes(3, theirs, "false"), storageEnabled);

    cloud->report({storageEnabled}, PreferenceCloudIssue::quotaExceeded);
    EXPECT_EQ(sync->issue(), PreferenceCloudIssue::quotaExceeded);
    EXPECT_EQ(issueChanges, 1); // reported although no key changed
    EXPECT_FALSE(local->values.contains(storageEnabled));

    sync->set(true, enabled);
    EXPECT_EQ(local->values.value(storageEnabled),
              recordBytes(4, mine, "true")); // after the cloud's revision
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), recordBytes(3, theirs, "false"));

    cloud->report({});
    EXPECT_EQ(sync->issue(), std::nullopt);
    EXPECT_EQ(issueChanges, 2);
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), recordBytes(4, mine, "true"));
}

TEST_F(PreferenceSyncRules, AccountChangeReportIsJudgedByTheProvider) {
    const auto sync = makeSync();
    cloud->set(recordBytes(1, theirs, "false"), storageEnabled);
    cloud->report({storageEnabled}, PreferenceCloudIssue::accountChanged);
    EXPECT_EQ(sync->issue(), std::nullopt); // still the adopted marker
    EXPECT_EQ(sync->value<bool>(enabled), false);
}

TEST_F(PreferenceSyncRules, AccountChangeReportWithoutProviderEndsThisSync) {
    const auto sync = makeSync(nullptr);
    sync->set(true, enabled);
    sync->set(std::string("brazil"), plan);

    cloud->report({storageEnabled}, PreferenceCloudIssue::accountChanged);
    EXPECT_EQ(sync->issue(), PreferenceCloudIssue::accountChanged);
    EXPECT_FALSE(local->values.contains(storageEnabled));
    EXPECT_FALSE(local->values.contains(storagePlan));

    const QHash<QString, QByteArray> cloudBefore = cloud->stored.values;
    sync->set(false, enabled);
    cloud->report({});
    EXPECT_FALSE(local->values.contains(storageEnabled));
    EXPECT_EQ(cloud->stored.values, cloudBefore);
    EXPECT_EQ(sync->issue(), PreferenceCloudIssue::accountChanged);
}

TEST_F(PreferenceSyncRules, UnreadableCopyBlocksItsKeyAndIsLeftAlone) {
    QByteArray oversized = recordBytes(1, theirs, "true");
    oversized.insert(1, QByteArray(65536, ' ')); // valid JSON, but longer than any record may be
    const struct {
        const char* name;
        bool inLocal;
        QByteArray bytes;
    } cases[] = {
        {"local bytes that are not JSON", true, "x"},
        {"local record that is not valid", true, recordBytes(1, "", "true")},
        {"local record too long", true, oversized},
        {"cloud bytes that are not JSON", false, "x"},
        {"cloud record of another version", false, R"({"version":2,"revision":9,"writer":"w"})"},
        // No version of the app stores a value that is not JSON: such a record is damaged.
        {"local record whose value is not JSON", true, recordBytes(9, theirs, "tru")},
        {"cloud record whose value is not JSON", false, recordBytes(9, theirs, R"({"cut)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        local = std::make_shared<MemoryStorage>();
        cloud = std::make_shared<MemoryCloud>();
        const QByteArray good = recordBytes(5, theirs, "false");
        (c.inLocal ? local->values : cloud->stored.values).insert(storageEnabled, c.bytes);
        (c.inLocal ? cloud->stored.values : local->values).insert(storageEnabled, good);
        const auto sync = makeSync();
        sync->set(true, enabled);
        cloud->report({});
        EXPECT_EQ((c.inLocal ? local->values : cloud->stored.values).value(storageEnabled), c.bytes);
        EXPECT_EQ((c.inLocal ? cloud->stored.values : local->values).value(storageEnabled), good);
        if (c.inLocal) {
            EXPECT_FALSE(sync->value<bool>(enabled).has_value());
        }
    }
}

TEST_F(PreferenceSyncRules, RemoveWritesATombstone) {
    const auto sync = makeSync();
    sync->set(true, enabled);
    EXPECT_FALSE(sync->isRemoved(enabled));
    sync->remove(enabled);
    EXPECT_TRUE(sync->isRemoved(enabled));
    EXPECT_FALSE(sync->value<bool>(enabled).has_value());
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), recordBytes(2, mine, std::nullopt));
    EXPECT_FALSE(sync->isRemoved(plan)); // never written
}

TEST_F(PreferenceSyncRules, ObserversRunForTheirKeyOnMergesOnly) {
    const auto sync = makeSync();
    int first = 0, second = 0, removed = 0;
    sync->addObserver(enabled, [&] { ++first; });
    sync->addObserver(enabled, [&] { ++second; });
    const QUuid gone = sync->addObserver(enabled, [&] { ++removed; });
    sync->removeObserver(gone);
    sync->removeObserver(QUuid::createUuid());

    sync->set(true, enabled); // own writes are not reported back
    EXPECT_EQ(first + second, 0);
    cloud->set(recordBytes(7, theirs, "false"), storageEnabled);
    cloud->report({storageEnabled});
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(removed, 0);
}

TEST_F(PreferenceSyncRules, WritesThatCannotBeStoredAreDropped) {
    const auto sync = makeSync();
    sync->set(std::string(32767, 'x'), plan); // 32,769 bytes with its quotes
    sync->set(true, "elsewhere");
    cloud->set(recordBytes(std::numeric_limits<std::uint64_t>::max(), theirs, "false"), storageEnabled);
    sync->set(true, enabled);
    EXPECT_FALSE(local->values.contains(storagePlan));
    EXPECT_FALSE(local->values.contains(PreferenceSync::recordPrefix + "elsewhere"));
    EXPECT_FALSE(local->values.contains(storageEnabled));
    EXPECT_FALSE(sync->value<bool>("elsewhere").has_value());

    const auto longWriter = makeSync([this] { return identity; }, QString(129, 'w'));
    longWriter->set(std::string("spain"), plan);
    EXPECT_FALSE(local->values.contains(storagePlan));
    sync->set(std::string(32766, 'x'), plan); // exactly the limit
    EXPECT_TRUE(local->values.contains(storagePlan));
}

TEST_F(PreferenceSyncRules, ValueOfAnotherTypeReadsAsNothing) {
    const auto sync = makeSync();
    sync->set(std::string("true"), enabled);
    EXPECT_FALSE(sync->value<bool>(enabled).has_value());
    EXPECT_EQ(sync->value<std::string>(enabled), "true");
    local->set(recordBytes(9, mine, "not json"), storagePlan);
    EXPECT_FALSE(sync->value<std::string>(plan).has_value());
}

// A write while the account was away first merges what the cloud holds. When that merge told the
// key's observers of the cloud's value, they hear again once the newer write is stored, so that what
// they show matches both stores.
TEST_F(PreferenceSyncRules, WriteAfterAPreWriteMergeTellsTheObserversAgain) {
    identity = PreferenceAccountIdentity::unavailable();
    local->set("MARKER-1", PreferenceSync::accountKey);
    const auto sync = makeSync();
    observe(*sync, enabled);
    cloud->set(recordBytes(6, theirs, "false"), storageEnabled);

    identity = PreferenceAccountIdentity::account("MARKER-1");
    sync->set(true, enabled);
    EXPECT_EQ(local->values.value(storageEnabled), recordBytes(7, mine, "true"));
    EXPECT_EQ(cloud->stored.values.value(storageEnabled), recordBytes(7, mine, "true"));
    EXPECT_EQ(seen, (std::vector<std::optional<bool>>{false, true}));
}

TEST_F(PreferenceSyncRules, AdoptingAnAccountKeepsRecordsMadeWithoutAnyAccount) {
    const struct {
        const char* name;
        std::optional<QByteArray> storedMarker;
        bool recordsKept;
    } cases[] = {
        {"no marker: settings made without an account", std::nullopt, true},
        {"the same marker", QByteArray("MARKER-1"), true},
        {"another account's marker", QByteArray("MARKER-0"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        local = std::make_shared<MemoryStorage>();
        cloud = std::make_shared<MemoryCloud>();
        if (c.storedMarker)
            local->set(*c.storedMarker, PreferenceSync::accountKey);
        local->set(recordBytes(2, mine, "false"), storageEnabled);
        const auto sync = makeSync();
        EXPECT_EQ(sync->value<bool>(enabled).has_value(), c.recordsKept);
        EXPECT_EQ(cloud->stored.values.contains(storageEnabled), c.recordsKept);
        EXPECT_EQ(local->values.value(PreferenceSync::accountKey), "MARKER-1");
    }
}
