#include "VCardTestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Platform;
using namespace VCardTestSupport;
using DialcoveCore::Birthday;
using DialcoveCore::FieldKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> labels(const DialcoveCore::Contact& contact) {
    std::vector<std::string> out;
    for (const auto& field : contact.fields())
        out.push_back(field.label + "=" + field.value);
    return out;
}

} // namespace

TEST(VCardReading, Version21QuotedPrintableWithCharsets) {
    const auto reading = read(fixture("reader/v21-quoted-printable.vcf"));
    EXPECT_THAT(reading.problems, IsEmpty());
    const auto people = contacts(fixture("reader/v21-quoted-printable.vcf"));
    ASSERT_EQ(people.size(), 2u);

    const auto& juergen = people[0];
    EXPECT_EQ(juergen.formattedName(), "J\xC3\xBCrgen M\xC3\xBCller");
    EXPECT_EQ(juergen.familyName(), "M\xC3\xBCller");
    EXPECT_EQ(juergen.givenName(), "J\xC3\xBCrgen");
    // ISO-8859-1 under quoted-printable, first ORG component only.
    EXPECT_EQ(juergen.organization(), "B\xC3\xA4"
                                      "ckerei Sch\xC3\xB6n");
    // A soft line break joins a continuation that is not indented.
    EXPECT_EQ(juergen.jobTitle(), "Gesch\xC3\xA4"
                                  "ftsf\xC3\xBChrer");
    EXPECT_THAT(labels(juergen),
                ElementsAre("mobile=+49 170 1234567", "home fax=+49 30 7654321", "work=juergen@example.de"));

    // 2.1 folds where white space already stood: unfolding keeps it.
    EXPECT_EQ(people[1].formattedName(), "Anna Maria Schmidt");
    EXPECT_EQ(people[1].givenName(), "Anna Maria");
    EXPECT_THAT(labels(people[1]), ElementsAre("work=030 1111"));
}

TEST(VCardReading, Version30FoldedLinesWithGroupedLabels) {
    const auto people = contacts(fixture("reader/v30-folded-ablabel.vcf"));
    ASSERT_EQ(people.size(), 1u);
    const auto& jonas = people[0];
    EXPECT_EQ(jonas.id().rawValue, "5D1E2C3B-0000-4000-8000-000000000001");
    // 3.0 unfolding drops the one white space character the writer inserted.
    EXPECT_EQ(jonas.formattedName(), "Jonas Lindqvist");
    EXPECT_EQ(jonas.organization(), "Example Corp.");
    EXPECT_EQ(jonas.jobTitle(), "Senior Engineer, Tools");
    EXPECT_THAT(labels(jonas),
                ElementsAre("mobile=+1 (555) 010-0001", "Boat=+1 555 010 0002", "iPhone=+1 555 010 0003",
                            "other=jonas@example.com", "work=j.lindqvist@example.com"));
    EXPECT_EQ(jonas.birthday(), Birthday::make(4, 7, 1980));
}

TEST(VCardReading, Version40CompanyCardAndBirthdayWithoutYear) {
    const auto people = contacts(fixture("reader/v40-company-birthday.vcf"));
    ASSERT_EQ(people.size(), 2u);

    const auto& company = people[0];
    EXPECT_EQ(company.formattedName(), "Northwind Traders");
    EXPECT_EQ(company.organization(), "Northwind Traders");
    EXPECT_EQ(company.id().rawValue, "urn:uuid:0c6a0d2e-0000-4000-8000-000000000002");
    // A tel: URI is shown as the number it names.
    EXPECT_THAT(labels(company), ElementsAre("work=+1-555-010-0100", "work=info@northwind.example"));

    const auto& mia = people[1];
    ASSERT_TRUE(mia.birthday());
    EXPECT_EQ(mia.birthday()->day(), 29);
    EXPECT_EQ(mia.birthday()->month(), 2);
    EXPECT_EQ(mia.birthday()->year(), std::nullopt);
    EXPECT_THAT(labels(mia), ElementsAre("mobile=+1 555 010 0200"));
}

TEST(VCardReading, GroupCardsAreNotContacts) {
    const auto reading = read(fixture("reader/group-cards.vcf"));
    ASSERT_EQ(reading.cards.size(), 3u);
    EXPECT_TRUE(isGroupCard(reading.cards[0]));
    EXPECT_TRUE(isGroupCard(reading.cards[1]));
    const auto people = contacts(fixture("reader/group-cards.vcf"));
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0].formattedName(), "Ola Nordmann");
}

TEST(VCardReading, LineEndsAndByteOrderMarksReadAlike) {
    const std::string lf = "BEGIN:VCARD\nVERSION:3.0\nFN:R\xC3\xA9ka\nTEL:1\n folded\nEND:VCARD\n";
    const auto replaced = [&](const std::string& end) {
        std::string out;
        for (char c : lf)
            out += c == '\n' ? end : std::string(1, c);
        return out;
    };
    const auto utf16 = [&](bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        const std::u16string text =
            u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:R\u00E9ka\r\nTEL:1\r\n folded\r\nEND:VCARD\r\n";
        for (char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            out += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return out;
    };
    const std::vector<std::pair<std::string, std::string>> files{
        {"LF", lf},
        {"CRLF", replaced("\r\n")},
        {"CR", replaced("\r")},
        {"CR CR LF, as phones write folded photos", replaced("\r\r\n")},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + replaced("\r\n")},
        {"UTF-16LE BOM", utf16(false)},
        {"UTF-16BE BOM", utf16(true)},
        {"no final line end", lf.substr(0, lf.size() - 1)},
    };
    for (const auto& [name, bytes] : files) {
        const auto people = contacts(bytes);
        ASSERT_EQ(people.size(), 1u) << name;
        EXPECT_EQ(people[0].formattedName(), "R\xC3\xA9ka") << name;
        ASSERT_EQ(people[0].fields().size(), 1u) << name;
        EXPECT_EQ(people[0].fields()[0].value, "1folded") << name;
        EXPECT_THAT(read(bytes).problems, IsEmpty()) << name;
    }
}

TEST(VCardReading, MalformedLinesAreSkippedAndAnUnendedCardKeepsWhatItHad) {
    const std::string bytes = card("FN:First\n") +
                              "BEGIN:VCARD\nVERSION:3.0\nFN:Cut short\n" + // no END: holds what follows
                              card("FN:Third\nthis line lost its fold\n;;;\nTEL:3\n") +
                              "junk between cards\n" + "BEGIN:VCARD\nVERSION:3.0\nFN:Never ends\n";
    const auto reading = read(bytes);
    ASSERT_EQ(reading.cards.size(), 4u);
    EXPECT_EQ(reading.cards[0].position, 1u);
    // Positions count every card, so mending one later moves no one.
    EXPECT_EQ(reading.cards[2].position, 3u);
    const auto people = contacts(bytes);
    ASSERT_EQ(people.size(), 4u);
    EXPECT_EQ(people[1].formattedName(), "Cut short");
    EXPECT_EQ(people[2].formattedName(), "Third");
    EXPECT_THAT(labels(people[2]), ElementsAre("other=3"));
    EXPECT_EQ(people[3].formattedName(), "Never ends");

    std::vector<std::size_t> where;
    for (const auto& problem : reading.problems)
        where.push_back(problem.first);
    // Card 2: kept without its end, and its junk line; card 3: its broken lines; card 4: kept.
    EXPECT_THAT(where, ElementsAre(2u, 2u, 3u, 4u));
}

TEST(VCardReading, CardsInsideACardAreCardsOfTheirOwnAndTheOuterOneResumes) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> names;    // formatted names, in file order
        std::vector<std::string> phones;   // the first phone of each, "" for none
        std::vector<std::size_t> problems; // positions reported
    };
    const std::vector<Case> cases{
        {"two whole cards inside a card",
         "BEGIN:VCARD\nVERSION:3.0\nN:parent;;;;\n" + card("FN:Inner one\nTEL:2\n") + card("FN:Inner two\n") +
             "TEL:1\nEND:VCARD\n",
         {"parent", "Inner one", "Inner two"},
         {"1", "2", ""},
         {}},
        {"a card without its end before the next",
         card("FN:Ann\n") + "BEGIN:VCARD\nVERSION:3.0\nFN:Bob\nTEL:7\n" + card("FN:Cid\nTEL:8\n"),
         {"Ann", "Bob", "Cid"},
         {"", "7", "8"},
         {2u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto reading = read(c.bytes);
        std::vector<std::size_t> where;
        for (const auto& problem : reading.problems)
            where.push_back(problem.first);
        EXPECT_EQ(where, c.problems);
        const auto people = contacts(c.bytes);
        std::vector<std::string> names;
        std::vector<std::string> phones;
        for (const auto& person : people) {
            names.push_back(person.displayName());
            phones.push_back(person.fields().empty() ? "" : person.fields()[0].value);
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(phones, c.phones);
    }

    // Nesting has a bound: a card deeper than eight open ones is skipped, its lines unread.
    std::string deep;
    for (int i = 1; i <= 10; ++i)
        deep += "BEGIN:VCARD\nVERSION:3.0\nFN:Level " + std::to_string(i) + "\n";
    for (int i = 1; i <= 10; ++i)
        deep += "END:VCARD\n";
    const auto reading = read(deep);
    EXPECT_EQ(reading.cards.size(), 8u);
    EXPECT_EQ(contacts(deep).front().formattedName(), "Level 1");
}

TEST(VCardReading, FilesWithoutCardsAreReported) {
    for (const std::string& bytes :
         {std::string("\x89PNG\r\n\x1a\n\0\0", 10), std::string("END:VCARD\nFN:x\n")}) {
        const auto reading = read(bytes);
        EXPECT_THAT(reading.cards, IsEmpty());
        ASSERT_EQ(reading.problems.size(), 1u);
        EXPECT_EQ(reading.problems[0].first, 0u);
    }
    EXPECT_THAT(read("").problems, IsEmpty());
    EXPECT_THAT(read("\r\n  \n").problems, IsEmpty());
}

TEST(VCardReading, AgentCardIsSkippedWithItsOwnerKept) {
    const std::string bytes =
        "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nFN:Assistant\n"
        "END:VCARD\nTEL:5\nEND:VCARD\n" +
        card("FN:Next\n");
    const auto reading = read(bytes);
    EXPECT_THAT(reading.problems, IsEmpty());
    const auto people = contacts(bytes);
    ASSERT_EQ(people.size(), 2u);
    EXPECT_EQ(people[0].formattedName(), "Boss");
    EXPECT_THAT(labels(people[0]), ElementsAre("other=5"));
    EXPECT_EQ(people[1].formattedName(), "Next");
}

TEST(VCardReading, ParametersInEveryForm) {
    const auto reading = read(card("TEL;TYPE=work,cell:1\n"
                                   "TEL;TYPE=work;TYPE=cell:2\n"
                                   "TEL;WORK;CELL:3\n"
                                   "TEL;type=\"work,cell\":4\n"
                                   "item9.EMAIL;X-NOTE=\"a;b:c\";TYPE=WORK:x@example.com\n"));
    ASSERT_EQ(reading.cards.size(), 1u);
    const auto& properties = reading.cards[0].properties;
    ASSERT_EQ(properties.size(), 6u); // VERSION, four TEL, EMAIL
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_TRUE(properties[i].hasParameter("TYPE", "WORK")) << i;
        EXPECT_TRUE(properties[i].hasParameter("type", "Cell")) << i;
        EXPECT_EQ(properties[i].value, std::to_string(i));
    }
    const auto& email = properties[5];
    EXPECT_EQ(email.group, "ITEM9");
    EXPECT_EQ(email.parameter("X-NOTE"), "a;b:c");
    EXPECT_EQ(email.value, "x@example.com");
}

TEST(VCardReading, TextReachesTheCoreAsValidUtf8) {
    const auto people = contacts(card("FN:Bad\xFF\xFEName\n"
                                      "ORG;CHARSET=windows-1252:\x80uro\n"
                                      "TITLE;ENCODING=QUOTED-PRINTABLE:=FF=C3\n"
                                      "TEL;X-\xFF=\xFE:1\n",
                                      "2.1"));
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0].formattedName(), "Bad\xEF\xBF\xBD\xEF\xBF\xBDName");
    EXPECT_EQ(people[0].organization(), "\xE2\x82\xACuro");
    EXPECT_EQ(people[0].jobTitle(), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(VCardReading, StopsWhenTheReceiverSaysSo) {
    int seen = 0;
    readVCards(card("FN:1\n") + card("FN:2\n") + card("FN:3\n"), [&](VCard&&) { return ++seen < 2; });
    EXPECT_EQ(seen, 2);
}

TEST(VCardReading, PassesOverPropertiesNobodyWants) {
    const std::string bytes = card("PHOTO;ENCODING=b;TYPE=JPEG:AAAA\n BBBB\n CCCC\n"
                                   "NOTE;ENCODING=QUOTED-PRINTABLE:soft=\nbreak=\nTEL:not a phone\n"
                                   "FN:Kept\n"
                                   "X-UNKNOWN:x\n"
                                   "this line is no property\n"
                                   "TEL:1\n",
                                   "2.1");
    const std::vector<std::string_view> wanted{"FN", "TEL"};
    std::vector<VCard> cards;
    std::vector<std::size_t> problems;
    readVCards(
        bytes,
        [&](VCard&& card) {
            cards.push_back(std::move(card));
            return true;
        },
        [&](std::size_t position, std::string_view) { problems.push_back(position); }, wanted);
    ASSERT_EQ(cards.size(), 1u);
    std::vector<std::string> kept;
    for (const auto& property : cards[0].properties)
        kept.push_back(property.name + ":" + property.value);
    // The soft breaks of the passed-over note still swallow its continuation lines.
    EXPECT_THAT(kept, ElementsAre("FN:Kept", "TEL:1"));
    EXPECT_THAT(problems, ElementsAre(1u));

    // What the conversion reads is all there: the contact is the same either way.
    const auto full = contacts(bytes);
    ASSERT_EQ(full.size(), 1u);
    EXPECT_EQ(contactFromVCard(cards[0], "card1"), full[0]);
}

TEST(VCardReading, NeverLooksAgainAtWhatItReportedConsumed) {
    const std::string tricky =
        card("FN:First\nNOTE;ENCODING=QUOTED-PRINTABLE:soft=\nbreak\nTEL:1\n folded\n", "2.1") +
        "BEGIN:VCARD\nVERSION:3.0\nFN:Cut short\n" + "junk between cards\n" +
        "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nFN:Assistant\nEND:VCARD\n"
        "TEL:5\nEND:VCARD\n" +
        card("FN:Last\nTEL:9\n") + "BEGIN:VCARD\nVERSION:3.0\nFN:Never ends\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : card("FN:Wide\n"))
        utf16 += std::string{c, '\0'};
    const std::vector<std::pair<const char*, std::string>> files{
        {"UTF-8", tricky},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + tricky},
        {"UTF-16LE BOM", utf16},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const Reading expected = read(bytes);
        // What was reported consumed is overwritten at once: a reader that looked back would
        // read something else.
        std::string scratch = bytes;
        std::vector<std::size_t> consumed;
        Reading reading;
        readVCards(
            scratch,
            [&](VCard&& card) {
                reading.cards.push_back(std::move(card));
                return true;
            },
            [&](std::size_t position, std::string_view problem) {
                reading.problems.emplace_back(position, problem);
            },
            {},
            [&](std::size_t upTo) {
                ASSERT_LE(upTo, scratch.size());
                ASSERT_TRUE(consumed.empty() || upTo >= consumed.back());
                consumed.push_back(upTo);
                std::fill(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(upTo), 'X');
            });
        EXPECT_EQ(reading.cards, expected.cards);
        EXPECT_EQ(reading.problems, expected.problems);
        EXPECT_FALSE(consumed.empty());
    }
}
