#include "DialcoveCore/RecentContacts.hpp"
#include "tests/support/ContactIDs.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

using TestSupport::contactIDs;

namespace {

TEST(RecentContacts, BuildingDropsRepeatsThenKeepsFive) {
    EXPECT_EQ(RecentContacts(contactIDs({"a", "b", "a", "c"})).ids(), contactIDs({"a", "b", "c"}));
    EXPECT_EQ(RecentContacts(contactIDs({"a", "b", "c", "d", "e", "f", "g"})).ids(),
              contactIDs({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(RecentContacts(contactIDs({"a", "a", "b", "b", "c", "d", "e", "f"})).ids(),
              contactIDs({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(RecentContacts().ids(), contactIDs({}));
}

TEST(RecentContacts, RecordPutsTheNewestFirst) {
    const struct {
        std::vector<ContactID> before;
        const char* recorded;
        std::vector<ContactID> after;
    } cases[] = {
        {contactIDs({"a", "b", "c", "d", "e"}), "c", contactIDs({"c", "a", "b", "d", "e"})},
        {contactIDs({"a", "b", "c", "d", "e"}), "f",
         contactIDs({"f", "a", "b", "c", "d"})}, // the oldest falls off
        {contactIDs({"a", "b"}), "a", contactIDs({"a", "b"})},
        {contactIDs({}), "a", contactIDs({"a"})},
    };
    for (const auto& c : cases) {
        RecentContacts recents(c.before);
        recents.record(ContactID(c.recorded));
        EXPECT_EQ(recents.ids(), c.after) << c.recorded;
    }
    RecentContacts recents(contactIDs({"a", "b"}));
    recents.clear();
    EXPECT_EQ(recents, RecentContacts());
}

TEST(RecentContacts, AvailableKeepsRecencyOrder) {
    const RecentContacts recents(contactIDs({"a", "b", "c"}));
    EXPECT_EQ(recents.available(contactIDs({"c", "a"})), contactIDs({"a", "c"}));
    EXPECT_EQ(recents.available(contactIDs({})), contactIDs({}));
    EXPECT_EQ(recents.ids(), contactIDs({"a", "b", "c"}));
}

} // namespace
