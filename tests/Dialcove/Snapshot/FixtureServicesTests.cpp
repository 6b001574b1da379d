#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Snapshot/FixtureContactSession.hpp"
#include "Dialcove/Snapshot/FixtureContacts.hpp"
#include "Dialcove/Snapshot/FixtureOutput.hpp"
#include "Dialcove/Snapshot/FixturePermission.hpp"
#include "Dialcove/Snapshot/FixtureRecents.hpp"
#include "DialcoveCore/PhoneResolution.hpp"
#include "DialcoveCore/SearchIndex.hpp"
#include "Platform/Contacts/AddressBookError.hpp"
#include "tests/support/AwaitTask.hpp"
#include "tests/support/ContactIDs.hpp"
#include "tests/support/EventLoop.hpp"

#include <QElapsedTimer>
#include <QFuture>
#include <gtest/gtest.h>

using namespace Dialcove;
using namespace std::chrono_literals;
using DialcoveCore::Contact;
using DialcoveCore::ContactID;
using DialcoveCore::FieldKind;
using DialcoveCore::PhonePlan;
using DialcoveCore::PhoneResolution;
using DialcoveCore::PhoneUnavailableReason;
using DialcoveCore::SessionID;

namespace {

enum class Outcome { done, cancelled, readFailure, other, pending };

template <typename T> Outcome outcomeOf(const QFuture<T>& future, std::chrono::milliseconds timeout = 5s) {
    if (!TestSupport::waitUntil([&] { return future.isFinished(); }, timeout))
        return Outcome::pending;
    try {
        QFuture<T>(future).waitForFinished();
        return Outcome::done;
    } catch (const CancellationError&) {
        return Outcome::cancelled;
    } catch (const Platform::AddressBookError&) {
        return Outcome::readFailure;
    } catch (...) {
        return Outcome::other;
    }
}

std::vector<std::string> idsOf(const std::vector<Contact>& contacts) {
    std::vector<std::string> ids;
    for (const Contact& contact : contacts)
        ids.push_back(contact.id().rawValue);
    return ids;
}

std::vector<std::string> searched(FixtureContactSession& session, const QString& query,
                                  const std::vector<ContactID>& recents = {}) {
    QFuture<std::vector<Contact>> future = session.search(SessionID(), query, recents, CancellationToken());
    EXPECT_FALSE(future.isFinished()) << "answered before the call returned";
    EXPECT_EQ(outcomeOf(future), Outcome::done);
    return idsOf(future.result());
}

std::size_t characters(const std::string& utf8) {
    return std::size_t(QString::fromStdString(utf8).size());
}

} // namespace

TEST(FixtureContacts, FollowTheirFormsShortAndLong) {
    const std::vector<Contact> contacts = FixtureContacts::make();
    ASSERT_EQ(contacts.size(), 8u);
    for (std::size_t n = 0; n < contacts.size(); ++n) {
        const Contact& contact = contacts[n];
        const std::string index = std::to_string(n);
        SCOPED_TRACE(contact.formattedName());
        EXPECT_EQ(contact.id().rawValue, "fixture-" + index);
        EXPECT_EQ(contact.formattedName(), contact.givenName() + " " + contact.familyName());
        EXPECT_FALSE(contact.givenName().empty());
        EXPECT_FALSE(contact.familyName().empty());
        EXPECT_EQ(characters(contact.organization()), 14u);
        EXPECT_EQ(contact.organization(), contacts[0].organization());
        EXPECT_EQ(contact.jobTitle(), "Designer");
        ASSERT_TRUE(contact.birthday());
        EXPECT_EQ(*contact.birthday(), *DialcoveCore::Birthday::make(23, 5, 1990));
        ASSERT_EQ(contact.fields().size(), 3u);
        const auto& fields = contact.fields();
        EXPECT_EQ(fields[0].id.rawValue, index + "phone");
        EXPECT_EQ(fields[0].label, "Mobile");
        EXPECT_EQ(characters(fields[0].value), 15u);
        EXPECT_EQ(fields[1].id.rawValue, index + "service");
        EXPECT_EQ(fields[1].label, "Service");
        EXPECT_EQ(characters(fields[1].value), 13u);
        EXPECT_EQ(fields[1].value.substr(0, 4), "0800");
        EXPECT_EQ(fields[2].id.rawValue, index + "email");
        EXPECT_EQ(fields[2].kind, FieldKind::email);
        EXPECT_EQ(fields[2].label, "Work");
        EXPECT_EQ(characters(fields[2].value), 19u);
        EXPECT_EQ(fields[2].value, contacts[0].fields()[2].value);
    }

    const std::vector<Contact> long_ = FixtureContacts::make(true);
    ASSERT_EQ(long_.size(), 8u);
    EXPECT_EQ(std::vector(long_.begin() + 1, long_.end()), std::vector(contacts.begin() + 1, contacts.end()));
    const Contact& first = long_[0];
    EXPECT_EQ(characters(first.formattedName()), 63u);
    EXPECT_NE(first.formattedName().find(" \u00B7 "), std::string::npos);
    ASSERT_EQ(first.fields().size(), 13u);
    for (int i = 0; i < 10; ++i) {
        const auto& field = first.fields()[std::size_t(i)];
        EXPECT_EQ(field.id.rawValue, "long" + std::to_string(i));
        EXPECT_EQ(field.label, "Work");
        EXPECT_EQ(characters(field.value), 17u);
        EXPECT_EQ(field.value.substr(0, 7), "+55 11 ");
        EXPECT_EQ(field.value.substr(15), "0" + std::to_string(i));
    }
    EXPECT_EQ(first.fields()[12].id.rawValue, "0email");
    EXPECT_EQ(characters(first.fields()[12].value), 32u);
}

TEST(FixtureContacts, MobilesResolveUnderBrazilAndServiceNumbersDoNot) {
    for (const Contact& contact : FixtureContacts::make(true))
        for (const auto& field : contact.fields()) {
            if (field.kind != FieldKind::phone)
                continue;
            const PhoneResolution resolved(field.value, PhonePlan::brazil);
            if (field.id.rawValue.ends_with("service"))
                EXPECT_EQ(resolved.reason(), PhoneUnavailableReason::serviceNumber) << field.value;
            else
                EXPECT_TRUE(resolved.isAvailable()) << field.value;
        }
}

TEST(FixtureContactSession, SearchesTheCompanyWordTheUnmatchedQueryAndTheRecents) {
    FixtureContactSession session(FixtureContacts::make(), false, false);
    EXPECT_EQ(searched(session, FixtureContacts::kCompanyWord).size(), 8u);
    EXPECT_EQ(searched(session, "aurora").size(), 8u);
    // Nobody by a typo or by sound either.
    for (const char* query : {FixtureContacts::kUnmatchedQuery, "Inexistent", "Inexistentes", "Inecsistente"})
        EXPECT_TRUE(searched(session, query).empty()) << query;

    const auto recents =
        TestSupport::contactIDs({"fixture-0", "fixture-1", "fixture-2", "fixture-3", "fixture-4"});
    const std::vector<std::string> firstFive{"fixture-0", "fixture-1", "fixture-2", "fixture-3", "fixture-4"};
    EXPECT_EQ(searched(session, "", recents), firstFive);
    // A blank query is no query: the recents, as the live worker gives.
    EXPECT_EQ(searched(session, "  \t ", recents), firstFive);
    EXPECT_EQ(searched(session, "", TestSupport::contactIDs({"fixture-3", "gone", "fixture-1"})),
              (std::vector<std::string>{"fixture-3", "fixture-1"}));
    // Only the first eight identifiers count.
    auto many = TestSupport::contactIDs({"gone", "fixture-7", "fixture-6", "fixture-5", "fixture-4",
                                         "fixture-3", "fixture-2", "fixture-1", "fixture-0"});
    EXPECT_EQ(searched(session, "", many).size(), 7u);
}

TEST(FixtureContactSession, NeverGivesMoreThanEight) {
    std::vector<Contact> contacts = FixtureContacts::make();
    for (Contact contact : FixtureContacts::make())
        contacts.emplace_back(ContactID(contact.id().rawValue + "b"), contact.formattedName(),
                              contact.givenName(), contact.familyName(), contact.organization(),
                              contact.jobTitle(), contact.fields());
    FixtureContactSession session(std::move(contacts), false, false);
    EXPECT_EQ(searched(session, FixtureContacts::kCompanyWord).size(),
              DialcoveCore::SearchIndex::kResultLimit);
}

TEST(FixtureContactSession, LooksUpByIdentifierOnALaterTurn) {
    FixtureContactSession session(FixtureContacts::make(), false, false);
    auto found = session.contact(SessionID(), ContactID("fixture-5"), CancellationToken());
    EXPECT_FALSE(found.isFinished());
    ASSERT_EQ(outcomeOf(found), Outcome::done);
    ASSERT_TRUE(found.result());
    EXPECT_EQ(found.result()->id().rawValue, "fixture-5");

    auto missing = session.contact(SessionID(), ContactID("fixture-8"), CancellationToken());
    ASSERT_EQ(outcomeOf(missing), Outcome::done);
    EXPECT_FALSE(missing.result());

    auto end = session.end(SessionID());
    EXPECT_EQ(outcomeOf(end), Outcome::done);
}

TEST(FixtureContactSession, LoadsSucceedOrFailAsTheAddressBookDoes) {
    FixtureContactSession good(FixtureContacts::make(), false, false);
    auto loaded = good.load(SessionID(), CancellationToken());
    EXPECT_FALSE(loaded.isFinished());
    EXPECT_EQ(outcomeOf(loaded), Outcome::done);

    FixtureContactSession bad(FixtureContacts::make(), true, false);
    EXPECT_EQ(outcomeOf(bad.load(SessionID(), CancellationToken())), Outcome::readFailure);
}

TEST(FixtureContactSession, AWaitingLoadEndsAfterItsWaitOrWhenCancelled) {
    FixtureContactSession session(FixtureContacts::make(), true, true, 300ms);
    QElapsedTimer clock;
    clock.start();
    auto waited = session.load(SessionID(), CancellationToken());
    TestSupport::drainEvents();
    EXPECT_FALSE(waited.isFinished());
    EXPECT_EQ(outcomeOf(waited), Outcome::readFailure);
    EXPECT_GE(clock.elapsed(), 300);

    // Cancelled during the wait: the cancellation, not the read failure, and well before the wait ends.
    FixtureContactSession longWait(FixtureContacts::make(), true, true);
    const CancellationToken token;
    auto cancelled = longWait.load(SessionID(), token);
    TestSupport::drainEvents();
    clock.restart();
    token.cancel();
    EXPECT_EQ(outcomeOf(cancelled, 2s), Outcome::cancelled);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(FixtureContactSession, GoingAwayAnswersWhatIsPending) {
    QFuture<void> load;
    QFuture<std::vector<Contact>> search;
    QFuture<std::optional<Contact>> lookUp;
    {
        FixtureContactSession session(FixtureContacts::make(), false, true);
        load = session.load(SessionID(), CancellationToken());
        search = session.search(SessionID(), "a", {}, CancellationToken());
        lookUp = session.contact(SessionID(), ContactID("fixture-0"), CancellationToken());
    }
    EXPECT_EQ(outcomeOf(load, 0ms), Outcome::cancelled);
    EXPECT_EQ(outcomeOf(search, 0ms), Outcome::cancelled);
    ASSERT_EQ(outcomeOf(lookUp, 0ms), Outcome::done);
    EXPECT_FALSE(lookUp.result());
    TestSupport::drainEvents();
}

TEST(FixtureServices, PermissionOutputAndRecentsStayInMemory) {
    for (ContactPermission status : {ContactPermission::unknown, ContactPermission::denied,
                                     ContactPermission::restricted, ContactPermission::allowed}) {
        FixturePermission permission(status);
        EXPECT_EQ(permission.status(), status);
        EXPECT_TRUE(permission.request().isFinished());
        EXPECT_EQ(permission.status(), ContactPermission::allowed);
        EXPECT_TRUE(permission.openSettings());
    }

    for (bool succeeds : {true, false}) {
        FixtureOutput output(succeeds);
        EXPECT_EQ(output.copy("+55 11 98765-4320"), succeeds);
        EXPECT_EQ(TestSupport::awaitTask(output.openContact(ContactID("fixture-0"))), succeeds);
    }

    FixtureRecents recents;
    EXPECT_TRUE(recents.ids().empty());
    const auto six = TestSupport::contactIDs({"a", "b", "c", "d", "e", "f"});
    recents.setIds(six);
    EXPECT_EQ(recents.ids(), six);
}
