#include "VCardTestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Platform;
using namespace VCardTestSupport;
using DialcoveCore::Birthday;
using DialcoveCore::FieldKind;

namespace {

DialcoveCore::Contact only(const std::string& lines, const std::string& version = "3.0") {
    auto people = contacts(card(lines, version));
    EXPECT_EQ(people.size(), 1u) << lines;
    return people.empty() ? DialcoveCore::Contact(DialcoveCore::ContactID(), "", "", "", "", "", {})
                          : people[0];
}

std::string firstLabel(const std::string& lines) {
    const auto contact = only(lines);
    return contact.fields().empty() ? "<no field>" : contact.fields()[0].label;
}

} // namespace

TEST(VCardConversion, LabelsAsTheUserSeesThem) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"TEL;TYPE=CELL:1\n", "mobile"},
        {"TEL;TYPE=cell,voice,pref:1\n", "mobile"},
        {"TEL;TYPE=HOME:1\n", "home"},
        {"TEL;TYPE=WORK;TYPE=VOICE:1\n", "work"},
        {"TEL;TYPE=MAIN:1\n", "main"},
        {"TEL;TYPE=PAGER:1\n", "pager"},
        {"TEL;TYPE=FAX;TYPE=HOME:1\n", "home fax"},
        {"TEL;TYPE=WORK,FAX:1\n", "work fax"},
        {"TEL;TYPE=FAX:1\n", "other fax"},
        {"TEL;TYPE=IPHONE:1\n", "iPhone"},
        {"TEL;TYPE=PREF;TYPE=VOICE:1\n", "other"},
        {"TEL:1\n", "other"},
        {"EMAIL;TYPE=INTERNET;TYPE=PREF:a@b\n", "other"},
        {"EMAIL;TYPE=INTERNET,HOME:a@b\n", "home"},
        {"EMAIL;TYPE=WORK:a@b\n", "work"},
        // A grouped X-ABLabel wins over the types, wrapped or custom.
        {"item1.TEL;TYPE=CELL:1\nitem1.X-ABLabel:_$!<HomeFAX>!$_\n", "home fax"},
        {"item1.TEL:1\nitem1.X-ABLabel:_$!<Work>!$_\n", "work"},
        {"item1.TEL:1\nitem1.X-ABLabel:_$!<Holiday Home>!$_\n", "Holiday Home"},
        {"item1.TEL:1\nitem1.X-ABLabel:Grandma\\, Lisbon\n", "Grandma, Lisbon"},
        // A blank custom label, or one of another group, leaves the types to decide.
        {"item1.TEL;TYPE=CELL:1\nitem1.X-ABLabel: \n", "mobile"},
        {"item1.TEL;TYPE=HOME:1\nitem2.X-ABLabel:Boat\n", "home"},
        {"TEL;TYPE=HOME:1\nX-ABLabel:Boat\n", "home"},
    };
    for (const auto& [lines, expected] : cases)
        EXPECT_EQ(firstLabel(lines), expected) << lines;
}

TEST(VCardConversion, BirthdayForms) {
    const std::vector<std::pair<std::string, std::optional<Birthday>>> cases{
        {"1990-07-04", Birthday::make(4, 7, 1990)},
        {"19900704", Birthday::make(4, 7, 1990)},
        {"--0704", Birthday::make(4, 7)},
        {"--07-04", Birthday::make(4, 7)},
        {"1990-07-04T12:30:00Z", Birthday::make(4, 7, 1990)},
        {"19900704T123000", Birthday::make(4, 7, 1990)},
        {" 1990-07-04 ", Birthday::make(4, 7, 1990)},
        {"1604-12-25", Birthday::make(25, 12)},
        {"2001-02-29", Birthday::make(29, 2)},
        {"--0231", std::nullopt},
        {"1990-13-01", std::nullopt},
        {"1990-07", std::nullopt},
        {"--07", std::nullopt},
        {"---04", std::nullopt},
        {"circa 1990", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(birthdayFromVCard(value), expected) << value;
}

TEST(VCardConversion, FormattedNameFallsBackToNameThenCompany) {
    struct Case {
        std::string lines;
        std::string formatted;
    };
    const std::vector<Case> cases{
        {"FN:  Shown As Is \nN:Other;Name;;;\n", "Shown As Is"},
        {"FN: \nN:Public;John;Quinlan,Q.;Dr.;Jr.\n", "Dr. John Quinlan Q. Public Jr."},
        {"N:Public;John;;;\nORG:Acme\n", "John Public"},
        {"KIND:org\nORG:Acme;Sales\n", "Acme"},
        {"X-ABShowAs:COMPANY\nORG:Acme Ltd.\n", "Acme Ltd."},
        // A person with only a company keeps an empty formatted name; display falls back later.
        {"ORG:Acme\nTEL:1\n", ""},
    };
    for (const auto& [lines, formatted] : cases)
        EXPECT_EQ(only(lines).formattedName(), formatted) << lines;
}

TEST(VCardConversion, FieldIdentifiersFollowTheirValues) {
    const auto before = only("UID:c1\nTEL;TYPE=CELL:+1 555 0100\nEMAIL:a@example.com\n");
    // The label changes and a number is inserted before the first one.
    const auto after = only("UID:c1\nTEL:+1 555 0999\nTEL;TYPE=HOME:+1 555 0100\nEMAIL:a@example.com\n");

    const auto idOf = [](const DialcoveCore::Contact& contact, const std::string& value) {
        for (const auto& field : contact.fields())
            if (field.value == value)
                return field.id.rawValue;
        return std::string("<missing>");
    };
    EXPECT_EQ(idOf(before, "+1 555 0100"), idOf(after, "+1 555 0100"));
    EXPECT_EQ(idOf(before, "a@example.com"), idOf(after, "a@example.com"));
    EXPECT_NE(idOf(after, "+1 555 0999"), idOf(after, "+1 555 0100"));
    EXPECT_EQ(idOf(before, "+1 555 0100").rfind("c1/phone/", 0), 0u);

    // The same value twice keeps both, told apart by their occurrence.
    const auto twice = only("UID:c2\nTEL;TYPE=HOME:7\nTEL;TYPE=WORK:7\n");
    ASSERT_EQ(twice.fields().size(), 2u);
    EXPECT_EQ(twice.fields()[0].id.rawValue, fieldID("c2", FieldKind::phone, "7", 0));
    EXPECT_EQ(twice.fields()[1].id.rawValue, fieldID("c2", FieldKind::phone, "7", 1));
    // A phone and an address of one text are different fields.
    EXPECT_NE(fieldID("c", FieldKind::phone, "x", 0), fieldID("c", FieldKind::email, "x", 0));
}

TEST(VCardConversion, IdentifierIsTheUidElseTheFallback) {
    EXPECT_EQ(only("UID: abc \nFN:x\n").id().rawValue, "abc");
    EXPECT_EQ(only("UID:\nFN:x\n").id().rawValue, "card1");
    EXPECT_EQ(only("FN:x\n").id().rawValue, "card1");
}

TEST(VCardConversion, PhonesComeBeforeAddressesInFileOrder) {
    const auto contact = only("EMAIL:first@example.com\nTEL:1\nEMAIL:second@example.com\nTEL:2\nTEL: \n");
    std::vector<std::string> values;
    for (const auto& field : contact.fields())
        values.push_back(field.value);
    EXPECT_THAT(values, ::testing::ElementsAre("1", "2", "first@example.com", "second@example.com"));
}
