#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "DialcoveCore/PackedContacts.hpp"
#include "Platform/Contacts/AddressBookError.hpp"
#include "tests/Platform/AddressBookFixture.hpp"
#include "tests/support/EventLoop.hpp"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gmock/gmock.h>

using namespace Dialcove;
using DialcoveCore::Contact;
using DialcoveCore::ContactID;
using DialcoveCore::SessionID;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The worker's answer, waited for with a bound; a failed call throws its error here.
template <typename T> T answerOf(QFuture<T> future) {
    EXPECT_TRUE(TestSupport::waitUntil([&] { return future.isFinished(); }));
    if constexpr (std::is_void_v<T>)
        future.waitForFinished();
    else
        return future.result();
}

Contact person(const std::string& id, const std::string& name) {
    return Contact(
        ContactID(id), name, "", "", "", "",
        {{DialcoveCore::FieldID(id + "-phone"), DialcoveCore::FieldKind::phone, "mobile", "+1 555 0100"}});
}

std::vector<std::string> idsOf(const std::vector<Contact>& contacts) {
    std::vector<std::string> ids;
    for (const Contact& contact : contacts)
        ids.push_back(contact.id().rawValue);
    return ids;
}

// The address book as the worker's reader sees it, scripted by the test: the contacts it gives,
// what happens as each is read, and whether reading fails. Touched by the test only between loads.
struct ScriptedBook {
    std::vector<Contact> contacts;
    std::function<void(std::size_t read)> onContact = [](std::size_t) {};
    std::function<void()> afterReading = [] {};
    std::optional<std::string> failure;
    std::atomic<std::size_t> converted{0};

    // Reads as the address book does: one contact at a time, polling after each.
    std::optional<std::vector<Contact>> read(const std::function<bool()>& isCancelled) {
        if (failure)
            throw Platform::AddressBookError(*failure);
        std::vector<Contact> out;
        for (const Contact& contact : contacts) {
            out.push_back(contact);
            converted = out.size();
            onContact(out.size());
            if (isCancelled())
                return std::nullopt;
        }
        afterReading();
        return out;
    }
};

class ContactsWorkerTest : public ::testing::Test {
protected:
    ContactsWorkerTest()
        : worker_([this](const std::function<bool()>& isCancelled) { return book_.read(isCancelled); }) {
        for (const char* name :
             {"Ana", "Bruno", "Chloé", "Dmitri", "Eva", "Fran", "Grace", "Hiro", "Inês", "Jon"})
            book_.contacts.push_back(person(std::string("id-") + name, name));
    }

    static SessionID session(const char* name) { return SessionID(name); }

    // A session that answers, and one whose load just succeeded.
    void loadOK(const SessionID& session) { answerOf(worker_.load(session, {})); }

    std::vector<std::string> search(const SessionID& session, const QString& query,
                                    const std::vector<ContactID>& recents = {}) {
        return idsOf(answerOf(worker_.search(session, query, recents, {})));
    }

    bool refusesSearch(const SessionID& session) {
        try {
            answerOf(worker_.search(session, "a", {}, {}));
        } catch (const CancellationError&) {
            return true;
        }
        return false;
    }

    bool knows(const SessionID& session, const std::string& id) {
        return answerOf(worker_.contact(session, ContactID(id), {})).has_value();
    }

    ScriptedBook book_;
    ContactsWorker worker_; // after book_: it reads book_ until it stops
};

} // namespace

TEST_F(ContactsWorkerTest, AnswersQueriesFromTheIndexAndBlankOnesFromTheRecents) {
    loadOK(session("s"));
    EXPECT_THAT(search(session("s"), "gra"), ElementsAre("id-Grace"));
    EXPECT_THAT(search(session("s"), "zzzz"), ElementsAre());

    std::vector<ContactID> tenRecents;
    for (const char* id : {"id-Jon", "id-Ana", "gone", "id-Eva", "id-Fran", "id-Grace", "id-Hiro", "id-Inês",
                           "id-Bruno", "id-Chloé"})
        tenRecents.emplace_back(id);
    // Only the first eight are looked at; one of them names no loaded contact and is skipped,
    // with no later one taking its place.
    const std::vector<std::string> sevenRecent{"id-Jon",   "id-Ana",  "id-Eva", "id-Fran",
                                               "id-Grace", "id-Hiro", "id-Inês"};
    for (const QString& blank : {QString(""), QString("   "), QString(" \n\t "), QString("\u00A0\u2003")})
        EXPECT_THAT(search(session("s"), blank, tenRecents), ElementsAreArray(sevenRecent))
            << blank.toStdString();
    // A query with text searches the index even with recents given.
    EXPECT_THAT(search(session("s"), " eva ", tenRecents), ElementsAre("id-Eva"));

    EXPECT_TRUE(knows(session("s"), "id-Hiro"));
    EXPECT_FALSE(knows(session("s"), "nobody"));
}

TEST_F(ContactsWorkerTest, OnlyTheActiveSessionIsEverAnswered) {
    // Before any load.
    EXPECT_TRUE(refusesSearch(session("a")));
    EXPECT_FALSE(knows(session("a"), "id-Ana"));

    loadOK(session("a"));
    loadOK(session("b"));
    EXPECT_TRUE(refusesSearch(session("a")));
    EXPECT_FALSE(knows(session("a"), "id-Ana"));

    // Ending another session leaves the active one's contacts alone.
    answerOf(worker_.end(session("a")));
    EXPECT_THAT(search(session("b"), "ana"), ElementsAre("id-Ana"));

    answerOf(worker_.end(session("b")));
    EXPECT_TRUE(refusesSearch(session("b")));
    EXPECT_FALSE(knows(session("b"), "id-Ana"));
}

TEST_F(ContactsWorkerTest, ACancelledLoadKeepsNoContacts) {
    struct Case {
        const char* name;
        bool cancelBefore;
        std::optional<std::size_t> cancelAt; // at this contact, 1-based
        bool cancelAfterReading;
        std::size_t converted; // the reading stops at the next contact
    };
    const std::vector<Case> cases{
        {"before the load ran", true, std::nullopt, false, 1},
        {"midway", false, 3, false, 3},
        {"after the last contact was read", false, std::nullopt, true, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadOK(session("earlier"));
        CancellationToken cancellation;
        if (c.cancelBefore)
            cancellation.cancel();
        book_.onContact = [c, cancellation](std::size_t read) {
            if (c.cancelAt == read)
                cancellation.cancel();
        };
        book_.afterReading = [c, cancellation] {
            if (c.cancelAfterReading)
                cancellation.cancel();
        };
        EXPECT_THROW(answerOf(worker_.load(session("cancelled"), cancellation)), CancellationError);
        EXPECT_EQ(book_.converted.load(), c.converted);
        // Neither the partial list nor the earlier session's contacts are answered from.
        EXPECT_TRUE(refusesSearch(session("cancelled")));
        EXPECT_FALSE(knows(session("cancelled"), "id-Ana"));
        EXPECT_TRUE(refusesSearch(session("earlier")));
        book_.onContact = [](std::size_t) {};
        book_.afterReading = [] {};
    }
    // The worker is not left stuck: the next load serves again.
    loadOK(session("next"));
    EXPECT_THAT(search(session("next"), "ana"), ElementsAre("id-Ana"));
}

TEST_F(ContactsWorkerTest, AFailedReadLeavesTheSessionActiveAndEmpty) {
    loadOK(session("earlier"));
    book_.failure = "the contacts folder cannot be read";
    try {
        answerOf(worker_.load(session("failing"), {}));
        ADD_FAILURE() << "the load succeeded";
    } catch (const Platform::AddressBookError& error) {
        EXPECT_STREQ(error.what(), "the contacts folder cannot be read");
    }
    EXPECT_TRUE(refusesSearch(session("failing")));
    EXPECT_TRUE(refusesSearch(session("earlier")));
    EXPECT_FALSE(knows(session("failing"), "id-Ana"));
}

TEST_F(ContactsWorkerTest, CallsOfACancelledTaskAreRefused) {
    loadOK(session("s"));
    CancellationToken cancelled;
    cancelled.cancel();
    EXPECT_THROW(answerOf(worker_.search(session("s"), "ana", {}, cancelled)), CancellationError);
    EXPECT_FALSE(answerOf(worker_.contact(session("s"), ContactID("id-Ana"), cancelled)).has_value());
    // The session itself is untouched.
    EXPECT_THAT(search(session("s"), "ana"), ElementsAre("id-Ana"));
}

TEST_F(ContactsWorkerTest, CallsRunInTheOrderMadeSoASearchWaitsForItsLoad) {
    // Nothing is awaited in between: every call is queued before the first has run.
    std::vector<QFuture<std::vector<Contact>>> searches;
    auto firstLoad = worker_.load(session("a"), {});
    searches.push_back(worker_.search(session("a"), "ana", {}, {}));
    auto secondLoad = worker_.load(session("b"), {});
    searches.push_back(worker_.search(session("a"), "ana", {}, {}));
    searches.push_back(worker_.search(session("b"), "bru", {}, {}));
    answerOf(firstLoad);
    answerOf(secondLoad);
    EXPECT_THAT(idsOf(answerOf(searches[0])), ElementsAre("id-Ana"));
    EXPECT_THROW(answerOf(searches[1]), CancellationError);
    EXPECT_THAT(idsOf(answerOf(searches[2])), ElementsAre("id-Bruno"));
}

// The book a reader hands back, by the test's choice: the same book again (nothing changed), or
// another; or a failure.
struct HandedBook {
    std::shared_ptr<const DialcoveCore::ContactBook> book;
    bool fails = false;
    std::atomic<int> reads{0};

    static std::shared_ptr<const DialcoveCore::ContactBook> of(std::vector<Contact> contacts) {
        return std::make_shared<const DialcoveCore::PackedContacts>(contacts);
    }
};

// A book handed back unchanged is answered from as it was; another one replaces it, whether or
// not a session ran in between, and one that fails leaves nothing of the last to answer from.
TEST(ContactsWorkerBooks, EachSessionAnswersFromTheBookItsLoadWasHanded) {
    HandedBook handed;
    handed.book = HandedBook::of({person("a", "Ana Lima"), person("b", "Bruno Reis")});
    ContactsWorker worker(ContactsWorker::BookReader([&](const std::function<bool()>&) {
        ++handed.reads;
        if (handed.fails)
            throw Platform::AddressBookError("gone");
        return handed.book;
    }));
    const auto names = [&](const char* session, const char* query) {
        return idsOf(answerOf(worker.search(SessionID(session), query, {}, {})));
    };
    answerOf(worker.load(SessionID("1"), {}));
    EXPECT_THAT(names("1", "lima"), ElementsAre("a"));
    answerOf(worker.end(SessionID("1")));
    answerOf(worker.load(SessionID("2"), {}));
    EXPECT_THAT(names("2", "lima"), ElementsAre("a")) << "the same book, after its session ended";

    handed.book = HandedBook::of({person("c", "Carla Lima"), person("a", "Ana Reis")});
    answerOf(worker.load(SessionID("3"), {}));
    EXPECT_THAT(names("3", "lima"), ElementsAre("c"));
    EXPECT_EQ(answerOf(worker.contact(SessionID("3"), ContactID("a"), {}))->formattedName(), "Ana Reis");

    handed.fails = true;
    EXPECT_THROW(answerOf(worker.load(SessionID("4"), {})), Platform::AddressBookError);
    EXPECT_THROW(answerOf(worker.search(SessionID("4"), "lima", {}, {})), CancellationError);
    handed.fails = false;
    answerOf(worker.load(SessionID("5"), {}));
    EXPECT_THAT(names("5", "reis"), ElementsAre("a"));
    EXPECT_EQ(handed.reads.load(), 5);
}

// Reading ahead reads the book outside any session; one that may not be read is left quietly;
// going stops a reading ahead at once, as quitting the app needs.
TEST(ContactsWorkerBooks, ReadingAheadAnswersNoSessionAndStopsWhenTheWorkerGoes) {
    HandedBook handed;
    handed.book = HandedBook::of({person("a", "Ana Lima")});
    {
        ContactsWorker worker(ContactsWorker::BookReader([&](const std::function<bool()>&) {
            ++handed.reads;
            if (handed.fails)
                throw Platform::AddressBookError("not allowed");
            return handed.book;
        }));
        answerOf(worker.warmUp());
        EXPECT_EQ(handed.reads.load(), 1);
        EXPECT_THROW(answerOf(worker.search(SessionID("none"), "ana", {}, {})), CancellationError)
            << "no session was begun";
        handed.fails = true;
        EXPECT_NO_THROW(answerOf(worker.warmUp()));
    }

    std::atomic<bool> reading{false};
    QElapsedTimer clock;
    {
        ContactsWorker worker(ContactsWorker::BookReader([&](const std::function<bool()>& isCancelled) {
            reading = true;
            // A long book: read until told to stop, or ten seconds.
            QElapsedTimer limit;
            limit.start();
            while (!isCancelled() && limit.elapsed() < 10000)
                QThread::msleep(1);
            return std::shared_ptr<const DialcoveCore::ContactBook>();
        }));
        worker.warmUp();
        ASSERT_TRUE(TestSupport::waitUntil([&] { return reading.load(); }));
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 2000) << "the worker went without waiting for the reading";
}

// The worker over a real address book folder.
class ContactsWorkerBookTest : public AddressBookFixture {};

TEST_F(ContactsWorkerBookTest, LoadsTheAddressBookAndFailsWithItsError) {
    write("a.vcf",
          card("UID:alice\r\nFN:Alice Liddell\r\nN:Liddell;Alice;;;\r\nTEL;TYPE=CELL:+44 20 7946 0001\r\n"));
    write("work/b.vcf", card("UID:bob\r\nFN:Bob Builder\r\nORG:Fix It Ltd\r\nEMAIL:bob@example.com\r\n"));
    ContactsWorker worker(book());

    answerOf(worker.load(SessionID("s"), {}));
    EXPECT_THAT(idsOf(answerOf(worker.search(SessionID("s"), "fix it", {}, {}))), ElementsAre("bob"));
    const auto alice = answerOf(worker.contact(SessionID("s"), ContactID("alice"), {}));
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->fields().at(0).label, "mobile");

    settings().setConsent(Platform::AddressBookSettings::Consent::declined);
    EXPECT_THROW(answerOf(worker.load(SessionID("t"), {})), Platform::AddressBookError);
    EXPECT_FALSE(answerOf(worker.contact(SessionID("t"), ContactID("alice"), {})));
}
