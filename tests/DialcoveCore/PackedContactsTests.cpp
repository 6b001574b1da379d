#include "DialcoveCore/PackedContacts.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

namespace {

ContactField phone(const std::string& id, const std::string& label, const std::string& value) {
    return {FieldID(id), FieldKind::phone, label, value};
}
ContactField email(const std::string& id, const std::string& label, const std::string& value) {
    return {FieldID(id), FieldKind::email, label, value};
}

} // namespace

// What goes in comes out equal: names of every kind, identifiers that do and do not begin with
// the contact's, labels shared and not, birthdays with and without a year, no fields at all.
TEST(PackedContacts, ContactsComeBackEqual) {
    std::vector<Contact> contacts{
        Contact(ContactID("u1"), "Ana Lima", "Ana", "Lima", "Acme", "Designer",
                {phone("u1/phone/0a/0", "mobile", "+55 21 98765-4321"),
                 email("u1/email/0b/0", "home", "ana@x.y"), email("other", "mobile", " spaced ")},
                Birthday::make(29, 2, 2024)),
        Contact(ContactID(""), "", "", "", "", "", {phone("/p", "", "1")}, Birthday::make(4, 7)),
        Contact(ContactID("Émile"), "Émile Ørsted", "Émile", "Ørsted", "", "", {}),
        Contact(ContactID("u1x"), "Prefix Only", "", "", "", "", {phone("u1", "work", "2")}),
    };
    // More labels than the block shares.
    std::vector<ContactField> many;
    for (int i = 0; i < 100; ++i)
        many.push_back(phone("m/" + std::to_string(i), "label " + std::to_string(i % 80), std::to_string(i)));
    contacts.emplace_back(ContactID("m"), "Many", "", "", "", "", many);

    const PackedContacts packed(contacts);
    ASSERT_EQ(packed.size(), contacts.size());
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        EXPECT_EQ(packed.contact(i), contacts[i]) << i;
        EXPECT_EQ(packed.view(i).displayName(), contacts[i].displayName()) << i;
    }
    EXPECT_EQ(PackedContacts().size(), 0u);
}

// A draft keeps what a Contact of the same parts keeps: blank values and repeated identifiers
// dropped, phones ahead of e-mail addresses.
TEST(PackedContacts, DraftsFollowTheContactRules) {
    const std::vector<ContactField> fields{phone("a", "home", "  "), email("b", "work", "first"),
                                           phone("c", "mobile", "+1 555"), email("b", "work", "second"),
                                           phone("a", "home", "123")};
    PackedContacts::Draft draft{"id", "", "Given", "Family", "Org", "Title", {}, Birthday::make(1, 1, 1990)};
    for (const ContactField& field : fields)
        draft.fields.push_back({field.id.rawValue, field.kind, field.label, field.value});
    PackedContacts::Builder builder;
    builder.add(draft);
    const PackedContacts packed = builder.finish();
    const Contact expected(ContactID("id"), "", "Given", "Family", "Org", "Title", fields,
                           Birthday::make(1, 1, 1990));
    EXPECT_EQ(packed.contact(0), expected);
    EXPECT_EQ(packed.view(0).displayName(), "Org");
    EXPECT_EQ(builder.size(), 0u) << "finishing empties the builder";
}
