#include "DialcoveCore/ExternalActionState.hpp"
#include "DialcoveCore/SessionGuard.hpp"
#include "DialcoveCore/UUIDString.hpp"

#include <gtest/gtest.h>
#include <regex>

using namespace DialcoveCore;
using P = ContactsPermission;

namespace {

// A guard with a predictable supply of identifiers and a contact with an international number
// (which offers WhatsApp under any plan) and a national one (which offers it only under brazil).
class SessionGuardTest : public testing::Test {
protected:
    RevisionID revision() { return RevisionID("R" + std::to_string(++revisions)); }
    SessionID session() { return SessionID("S" + std::to_string(++sessions)); }

    LoadTicket ready() {
        const auto load = guard.begin(session(), revision(), P::authorized);
        EXPECT_TRUE(guard.finishLoad(*load, true));
        return *load;
    }

    static Contact ana(std::string nationalLabel = "home", std::string nationalValue = "(11) 91234-5678") {
        return Contact(
            ContactID("ana"), "Ana", "", "", "", "",
            {{FieldID("intl"), FieldKind::phone, "mobile", "+55 11 91234-5678"},
             {FieldID("national"), FieldKind::phone, std::move(nationalLabel), std::move(nationalValue)}});
    }

    SessionGuard guard;
    int revisions = 0;
    int sessions = 0;
};

TEST_F(SessionGuardTest, LoadTakesOnlyTheCurrentTicketOnce) {
    EXPECT_EQ(guard, SessionGuard());
    EXPECT_EQ(guard.phase(), SessionPhase::closed);
    EXPECT_EQ(guard.permission(), P::notDetermined);

    const auto first = guard.begin(session(), revision(), P::authorized);
    const auto second = guard.begin(session(), revision(), P::authorized);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(guard.phase(), SessionPhase::loading);
    EXPECT_FALSE(guard.finishLoad(*first, true)); // an earlier session
    const auto reloaded = guard.reload(revision());
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->sessionID, second->sessionID);
    EXPECT_FALSE(guard.finishLoad(*second, true)); // an earlier revision of the same session
    EXPECT_EQ(guard.phase(), SessionPhase::loading);

    EXPECT_TRUE(guard.finishLoad(*reloaded, true));
    EXPECT_EQ(guard.phase(), SessionPhase::ready);
    EXPECT_FALSE(guard.finishLoad(*reloaded, true)); // no longer loading
    EXPECT_EQ(guard.phase(), SessionPhase::ready);

    const auto again = guard.reload(revision());
    EXPECT_TRUE(guard.finishLoad(*again, false));
    EXPECT_EQ(guard.phase(), SessionPhase::failed);
    EXPECT_TRUE(guard.reload(revision())); // a failed load can be retried
    EXPECT_EQ(guard.phase(), SessionPhase::loading);
}

TEST_F(SessionGuardTest, QueriesCountOnlyWhileCurrent) {
    EXPECT_FALSE(guard.beginQuery(revision())); // closed
    const auto load = guard.begin(session(), revision(), P::authorized);
    EXPECT_FALSE(guard.beginQuery(revision())); // loading
    guard.finishLoad(*load, false);
    EXPECT_FALSE(guard.beginQuery(revision())); // failed

    ready();
    const auto first = guard.beginQuery(revision());
    const auto second = guard.beginQuery(revision());
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(guard.isCurrentQuery(*first));
    EXPECT_TRUE(guard.isCurrentQuery(*second));

    guard.reload(revision());
    EXPECT_FALSE(guard.beginQuery(revision())); // loading again: the current query stays dropped
    EXPECT_FALSE(guard.isCurrentQuery(*second));

    ready();
    const auto third = guard.beginQuery(revision());
    guard.close();
    EXPECT_FALSE(guard.isCurrentQuery(*third));
    EXPECT_EQ(guard.query(), std::nullopt);
}

TEST_F(SessionGuardTest, MissingAccessBlocks) {
    ready();
    guard.beginQuery(revision());
    ASSERT_TRUE(guard.beginAction(ana(), FieldID("intl"), ContactAction::copy, PhonePlan::other, revision()));

    EXPECT_FALSE(guard.begin(session(), revision(), P::denied));
    EXPECT_EQ(guard.phase(), SessionPhase::blocked);
    EXPECT_EQ(guard.load(), std::nullopt);
    EXPECT_EQ(guard.query(), std::nullopt);
    EXPECT_EQ(guard.action(), std::nullopt);
    EXPECT_FALSE(guard.beginQuery(revision()));
    EXPECT_FALSE(guard.reload(revision()));

    EXPECT_FALSE(guard.updatePermission(P::authorized)); // stays blocked until the next begin
    EXPECT_EQ(guard.phase(), SessionPhase::blocked);
    EXPECT_EQ(guard.permission(), P::authorized);

    ready();
    EXPECT_TRUE(guard.updatePermission(P::denied)); // a load ticket was dropped
    EXPECT_EQ(guard.phase(), SessionPhase::blocked);
    EXPECT_FALSE(guard.updatePermission(P::restricted));

    guard.close();
    EXPECT_EQ(guard.permission(), P::restricted); // close keeps the permission
    EXPECT_FALSE(guard.updatePermission(P::denied));
    EXPECT_EQ(guard.phase(), SessionPhase::closed);
}

TEST_F(SessionGuardTest, ActionTicketsNeedAnOfferedAction) {
    EXPECT_FALSE(
        guard.beginAction(ana(), FieldID("intl"), ContactAction::copy, PhonePlan::other, revision()));
    ready();
    const auto held =
        guard.beginAction(ana(), FieldID("intl"), ContactAction::whatsapp, PhonePlan::other, revision());
    ASSERT_TRUE(held);
    EXPECT_EQ(held->field, ana().fields()[0]);
    EXPECT_EQ(held->contactID, ContactID("ana"));
    EXPECT_EQ(held->plan, PhonePlan::other);

    // No international form under `other`, and no such field: no ticket, and the held one stays.
    EXPECT_FALSE(
        guard.beginAction(ana(), FieldID("national"), ContactAction::whatsapp, PhonePlan::other, revision()));
    EXPECT_FALSE(
        guard.beginAction(ana(), FieldID("gone"), ContactAction::copy, PhonePlan::other, revision()));
    EXPECT_EQ(guard.action(), held);
    EXPECT_TRUE(guard.beginAction(ana(), FieldID("national"), ContactAction::whatsapp, PhonePlan::brazil,
                                  revision()));
}

TEST_F(SessionGuardTest, ActionRequestOnlyForTheCurrentUnchangedAction) {
    ready();
    const Contact contact = ana();
    const auto ticket =
        guard.beginAction(contact, FieldID("national"), ContactAction::call, PhonePlan::brazil, revision());
    ASSERT_TRUE(ticket);
    EXPECT_EQ(guard.actionRequest(*ticket, &contact, PhonePlan::brazil),
              ActionRequest::call("+5511912345678"));

    const Contact relabelled = ana("work");
    const Contact renumbered = ana("home", "(11) 91234-5679");
    const Contact someoneElse(ContactID("bo"), "Bo", "", "", "", "", contact.fields());
    const Contact withoutTheField(ContactID("ana"), "Ana", "", "", "", "", {contact.fields()[0]});
    EXPECT_EQ(guard.actionRequest(*ticket, &contact, PhonePlan::other), std::nullopt); // the plan changed
    EXPECT_EQ(guard.actionRequest(*ticket, &relabelled, PhonePlan::brazil), std::nullopt);
    EXPECT_EQ(guard.actionRequest(*ticket, &renumbered, PhonePlan::brazil), std::nullopt);
    EXPECT_EQ(guard.actionRequest(*ticket, &someoneElse, PhonePlan::brazil), std::nullopt);
    EXPECT_EQ(guard.actionRequest(*ticket, &withoutTheField, PhonePlan::brazil), std::nullopt);
    EXPECT_EQ(guard.actionRequest(*ticket, nullptr, PhonePlan::brazil), std::nullopt); // the contact is gone

    // Another action since, a finished one, a reload and lost access each make the ticket stale.
    const auto later =
        guard.beginAction(contact, FieldID("intl"), ContactAction::copy, PhonePlan::brazil, revision());
    EXPECT_EQ(guard.actionRequest(*ticket, &contact, PhonePlan::brazil), std::nullopt);
    guard.finishAction(*ticket); // not the held one
    EXPECT_EQ(guard.action(), later);
    EXPECT_EQ(guard.actionRequest(*later, &contact, PhonePlan::brazil),
              ActionRequest::copy("+55 11 91234-5678"));
    guard.finishAction(*later);
    EXPECT_EQ(guard.action(), std::nullopt);
    EXPECT_EQ(guard.actionRequest(*later, &contact, PhonePlan::brazil), std::nullopt);

    const auto beforeReload =
        guard.beginAction(contact, FieldID("intl"), ContactAction::copy, PhonePlan::brazil, revision());
    const auto load = guard.reload(revision());
    guard.finishLoad(*load, true);
    EXPECT_EQ(guard.actionRequest(*beforeReload, &contact, PhonePlan::brazil), std::nullopt);

    const auto beforeDenial =
        guard.beginAction(contact, FieldID("intl"), ContactAction::copy, PhonePlan::brazil, revision());
    guard.updatePermission(P::denied);
    EXPECT_EQ(guard.actionRequest(*beforeDenial, &contact, PhonePlan::brazil), std::nullopt);
}

TEST_F(SessionGuardTest, ExternalActionFinishesOnlyItsOwnOpening) {
    ready();
    const auto mine =
        *guard.beginAction(ana(), FieldID("intl"), ContactAction::whatsapp, PhonePlan::other, revision());
    const auto other =
        *guard.beginAction(ana(), FieldID("intl"), ContactAction::call, PhonePlan::other, revision());
    using S = ExternalActionState;
    const struct {
        ExternalActionState state;
        bool succeeded;
        ExternalActionState next;
    } cases[] = {
        {S::opening(mine), true, S::idle()},
        {S::opening(mine), false, S::failed(mine)},
        {S::opening(other), true, S::opening(other)},
        {S::failed(mine), true, S::failed(mine)},
        {S::idle(), false, S::idle()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.state.finish(mine, c.succeeded), c.next) << static_cast<int>(c.state.kind());
}

TEST(UUIDString, FreshUpperCaseCanonical) {
    const std::string first = freshUUIDString();
    EXPECT_TRUE(std::regex_match(
        first, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
        << first;
    EXPECT_NE(first, freshUUIDString());
}

} // namespace
