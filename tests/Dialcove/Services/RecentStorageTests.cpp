#include "Dialcove/Services/ContactRecents.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/ContactIDs.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Dialcove::ContactRecents;
using Dialcove::LocalRecentStorage;
using DialcoveCore::ContactID;
using Platform::UserDefaults;

using TestSupport::contactIDs;

namespace {

class RecentStorageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    // The store as the next launch sees it: a fresh reader of the same file.
    LocalRecentStorage nextLaunch() const { return LocalRecentStorage(std::make_shared<UserDefaults>(path)); }

    QTemporaryDir home;
    const QString path = home.filePath("dialcove.ini");
    std::shared_ptr<UserDefaults> defaults = std::make_shared<UserDefaults>(path);
    LocalRecentStorage storage{defaults};
};

} // namespace

TEST_F(RecentStorageTest, KeepsUpToFiveIdentifiersInOrderAcrossLaunches) {
    const struct {
        const char* name;
        std::vector<ContactID> written;
        std::vector<ContactID> read;
    } cases[] = {
        {"empty", {}, {}},
        {"one, which the file keeps as a plain string", contactIDs({"urn:uuid:4fbe8971"}),
         contactIDs({"urn:uuid:4fbe8971"})},
        {"seven keep the first five", contactIDs({"1", "2", "3", "4", "5", "6", "7"}),
         contactIDs({"1", "2", "3", "4", "5"})},
        {"no de-duplication, and unknown contacts stay", contactIDs({"b", "a", "b"}),
         contactIDs({"b", "a", "b"})},
        {"separators and quotes in identifiers", contactIDs({"a,b", "\"q\"", "x=y;z", "@Invalid()", " sp "}),
         contactIDs({"a,b", "\"q\"", "x=y;z", "@Invalid()", " sp "})},
    };
    for (const auto& c : cases) {
        storage.setIds(c.written);
        EXPECT_EQ(storage.ids(), c.read) << c.name;
        EXPECT_EQ(nextLaunch().ids(), c.read) << c.name;
    }
}

TEST_F(RecentStorageTest, NothingOrSomethingElseStoredReadsAsNoRecents) {
    EXPECT_TRUE(storage.ids().empty());
    defaults->setData(LocalRecentStorage::key, QByteArray("\x01\x02", 2));
    EXPECT_TRUE(storage.ids().empty());
    EXPECT_TRUE(nextLaunch().ids().empty());

    // Writing over it recovers.
    storage.setIds(contactIDs({"a"}));
    EXPECT_EQ(nextLaunch().ids(), contactIDs({"a"}));
}

TEST_F(RecentStorageTest, RecordingPutsTheContactFirstWithoutRepeats) {
    ContactRecents recents(std::make_shared<LocalRecentStorage>(defaults));
    recents.setIds(contactIDs({"a", "b", "c", "d", "e"}));
    recents.record(ContactID("c"));
    EXPECT_EQ(storage.ids(), contactIDs({"c", "a", "b", "d", "e"}));
    recents.record(ContactID("f"));
    EXPECT_EQ(storage.ids(), contactIDs({"f", "c", "a", "b", "d"}));
}
