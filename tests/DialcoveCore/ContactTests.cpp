#include "DialcoveCore/Contact.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace DialcoveCore;

namespace {

ContactField phone(const char* id, const char* value, const char* label = "mobile") {
    return {FieldID(id), FieldKind::phone, label, value};
}
ContactField email(const char* id, const char* value) {
    return {FieldID(id), FieldKind::email, "work", value};
}

Contact person(std::string formatted, std::string given = "", std::string family = "",
               std::string organization = "", std::string jobTitle = "",
               std::vector<ContactField> fields = {}) {
    return Contact(ContactID("c1"), std::move(formatted), std::move(given), std::move(family),
                   std::move(organization), std::move(jobTitle), std::move(fields));
}

TEST(ContactFields, KeepsFirstNonBlankFieldPerIdentifierWithPhonesFirst) {
    const Contact contact = person("Ana", "", "", "", "",
                                   {phone("A", "  "), email("B", "first"), phone("C", "+1 555"),
                                    email("B", "second"), phone("D", ""), phone("D", " 123 ")});
    ASSERT_EQ(contact.fields().size(), 3u);
    EXPECT_EQ(contact.fields()[0], phone("C", "+1 555"));
    EXPECT_EQ(contact.fields()[1],
              phone("D", " 123 ")); // a blank field does not take its identifier; spaces kept
    EXPECT_EQ(contact.fields()[2], email("B", "first"));
}

TEST(ContactFields, LooksUpByIdentifier) {
    const Contact contact = person("Ana", "", "", "", "", {phone("A", "1"), email("B", "a@b")});
    EXPECT_EQ(contact.field(FieldID("B"))->value, "a@b");
    EXPECT_FALSE(contact.field(FieldID("Z")).has_value());
}

TEST(ContactText, DisplayNameFallsBackUntrimmed) {
    EXPECT_EQ(person("Ana Silva", "", "", "Acme").displayName(), "Ana Silva");
    EXPECT_EQ(person("   ", "", "", "Acme").displayName(), "Acme");
    EXPECT_EQ(person("   ", "", "", "", "", {phone("A", " +1 "), email("B", "x@y")}).displayName(), " +1 ");
    const Contact empty = person("", "  ", "");
    EXPECT_EQ(empty.displayName(), "");
    EXPECT_EQ(empty.initials(), "");
    EXPECT_EQ(empty.subtitle(), "");
}

TEST(ContactText, Initials) {
    EXPECT_EQ(person("", "ana", "silva").initials(), "AS");
    EXPECT_EQ(person("", "  émile", "").initials(), "É");
    EXPECT_EQ(person("acme widgets inc").initials(), "AW");
    EXPECT_EQ(person("  solo  ").initials(), "S");
    EXPECT_EQ(person("", "e\u0301mile", "ßtrand").initials(),
              "E\u0301SS"); // whole characters, full upper-casing
    EXPECT_EQ(person("", "कि", "").initials(), "कि");
}

TEST(ContactText, SubtitleSkipsWhatFoldsToSomethingShown) {
    EXPECT_EQ(person("Acme", "", "", "ACME").subtitle(), "");
    EXPECT_EQ(person("Zoe", "", "", "Café", "cafe").subtitle(), "Café");
    EXPECT_EQ(person("Zoe", "", "", "Acme", "Designer").subtitle(), "Acme \u00B7 Designer");
    EXPECT_EQ(person("Zoe", "", "", "  ", " Designer ").subtitle(), " Designer ");
}

TEST(ContactValues, EqualityAndIdentifierCoding) {
    EXPECT_EQ(person("Ana"), person("Ana"));
    EXPECT_NE(person("Ana"), person("Ana", "Ana"));
    EXPECT_EQ(nlohmann::json(ContactID("x-1")).dump(), "\"x-1\"");
    EXPECT_EQ(nlohmann::json::parse("\"f\"").get<FieldID>(), FieldID("f"));
    EXPECT_EQ(nlohmann::json(FieldKind::email).dump(), "\"email\"");
    EXPECT_FALSE(fieldKindFromRaw("fax").has_value());
    EXPECT_THROW((void)nlohmann::json("fax").get<FieldKind>(), nlohmann::json::exception);
}

struct BirthdayCase {
    int day, month;
    std::optional<int> year;
    bool valid;
    std::optional<int> keptYear;
};

TEST(BirthdayValidation, Table) {
    const BirthdayCase cases[] = {
        {29, 2, 2023, true, std::nullopt},
        {29, 2, 2024, true, 2024},
        {29, 2, 1900, true, std::nullopt},
        {29, 2, 2000, true, 2000},
        {31, 4, 1990, false, {}},
        {0, 1, {}, false, {}},
        {1, 13, {}, false, {}},
        {1, 0, {}, false, {}},
        {32, 1, {}, false, {}},
        {31, 12, 1604, true, std::nullopt},
        {1, 1, 0, true, std::nullopt},
        {1, 1, -5, true, std::nullopt},
        {29, 2, std::nullopt, true, std::nullopt},
        {31, 1, 1, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day << "/" << c.month << "/" << c.year.value_or(-1));
        const auto birthday = Birthday::make(c.day, c.month, c.year);
        ASSERT_EQ(birthday.has_value(), c.valid);
        if (!birthday)
            continue;
        EXPECT_EQ(birthday->day(), c.day);
        EXPECT_EQ(birthday->month(), c.month);
        EXPECT_EQ(birthday->year(), c.keptYear);
    }
}

TEST(BirthdayText, FollowsTheLocale) {
    EXPECT_EQ(Birthday::make(4, 7, 1990)->formatted("en_US"), "July 4, 1990");
    EXPECT_EQ(Birthday::make(4, 7)->formatted("en_US"), "July 4");
    EXPECT_EQ(Birthday::make(29, 2)->formatted("en_US"), "February 29");
    EXPECT_EQ(Birthday::make(4, 7, 1990)->formatted("de_DE"), "4. Juli 1990");
    EXPECT_EQ(Birthday::make(4, 7)->formatted("pt_BR"), "4 de julho");
    EXPECT_EQ(Birthday::make(31, 12, 1)->formatted("en_US"), "December 31, 1");
}

} // namespace
