#include "DialcoveCore/RecentContacts.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

namespace {

std::vector<ContactID> ids(std::initializer_list<const char*> names) {
    std::vector<ContactID> out;
    for (const char* name : names)
        out.emplace_back(name);
    return out;
}

TEST(RecentContacts, BuildingDropsRepeatsThenKeepsFive) {
    EXPECT_EQ(RecentContacts(ids({"a", "b", "a", "c"})).ids(), ids({"a", "b", "c"}));
    EXPECT_EQ(RecentContacts(ids({"a", "b", "c", "d", "e", "f", "g"})).ids(), ids({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(RecentContacts(ids({"a", "a", "b", "b", "c", "d", "e", "f"})).ids(),
              ids({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(RecentContacts().ids(), ids({}));
}

TEST(RecentContacts, RecordPutsTheNewestFirst) {
    const struct {
        std::vector<ContactID> before;
        const char* recorded;
        std::vector<ContactID> after;
    } cases[] = {
        {ids({"a", "b", "c", "d", "e"}), "c", ids({"c", "a", "b", "d", "e"})},
        {ids({"a", "b", "c", "d", "e"}), "f", ids({"f", "a", "b", "c", "d"})}, // the oldest falls off
        {ids({"a", "b"}), "a", ids({"a", "b"})},
        {ids({}), "a", ids({"a"})},
    };
    for (const auto& c : cases) {
        RecentContacts recents(c.before);
        recents.record(ContactID(c.recorded));
        EXPECT_EQ(recents.ids(), c.after) << c.recorded;
    }
    RecentContacts recents(ids({"a", "b"}));
    recents.clear();
    EXPECT_EQ(recents, RecentContacts());
}

TEST(RecentContacts, AvailableKeepsRecencyOrder) {
    const RecentContacts recents(ids({"a", "b", "c"}));
    EXPECT_EQ(recents.available(ids({"c", "a"})), ids({"a", "c"}));
    EXPECT_EQ(recents.available(ids({})), ids({}));
    EXPECT_EQ(recents.ids(), ids({"a", "b", "c"}));
}

} // namespace
