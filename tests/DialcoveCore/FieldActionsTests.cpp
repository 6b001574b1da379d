#include "DialcoveCore/FieldActions.hpp"

#include <gtest/gtest.h>
#include <map>

using namespace DialcoveCore;
using A = ContactAction;

namespace {

struct Case {
    FieldKind kind;
    const char* value;
    PhonePlan plan;
    std::vector<ContactAction> offered;
    std::map<ContactAction, std::string> requests; // the text of each request that is not none
    std::string callExtension = {};
};

TEST(FieldActions, OfferedActionsAndTheirRequests) {
    const Case cases[] = {
        {FieldKind::phone, "   ", PhonePlan::germany, {}, {}},
        {FieldKind::email, " \n", PhonePlan::germany, {}, {}},
        {FieldKind::email,
         "ana@example.com",
         PhonePlan::other,
         {A::copy, A::email},
         {{A::copy, "ana@example.com"}, {A::email, "ana@example.com"}}},
        {FieldKind::phone,
         "+55 11 91234-5678",
         PhonePlan::other,
         {A::copy, A::whatsapp, A::message, A::call},
         {{A::copy, "+55 11 91234-5678"},
          {A::whatsapp, "+5511912345678"},
          {A::message, "+5511912345678"},
          {A::call, "+5511912345678"}}},
        {FieldKind::phone,
         "(11) 91234-5678",
         PhonePlan::other,
         {A::copy, A::message, A::call},
         {{A::copy, "(11) 91234-5678"}, {A::message, "11912345678"}, {A::call, "11912345678"}}},
        // An extension: no chat; message and call go to the number before it, a call with the
        // extension too.
        {FieldKind::phone,
         "555-1234 ext. 12",
         PhonePlan::northAmerica,
         {A::copy, A::message, A::call},
         {{A::copy, "555-1234 ext. 12"}, {A::message, "5551234"}, {A::call, "5551234"}},
         "12"},
        {FieldKind::phone,
         "030 1234567 x 12",
         PhonePlan::germany,
         {A::copy, A::message, A::call},
         {{A::copy, "030 1234567 x 12"}, {A::message, "+49301234567"}, {A::call, "+49301234567"}},
         "12"},
        // Digits, but no number to call: only a copy.
        {FieldKind::phone, "ext. 12", PhonePlan::germany, {A::copy}, {{A::copy, "ext. 12"}}},
        {FieldKind::phone, "1-800-FLOWERS", PhonePlan::northAmerica, {A::copy}, {{A::copy, "1-800-FLOWERS"}}},
        {FieldKind::phone, "n/a", PhonePlan::germany, {A::copy}, {{A::copy, "n/a"}}},
        // Copy carries the value as stored, spaces included.
        {FieldKind::phone,
         " 030 1234567 ",
         PhonePlan::germany,
         {A::copy, A::whatsapp, A::message, A::call},
         {{A::copy, " 030 1234567 "},
          {A::whatsapp, "+49301234567"},
          {A::message, "+49301234567"},
          {A::call, "+49301234567"}}},
        // The plan decides whether a national number can be chatted with.
        {FieldKind::phone,
         "030 1234567",
         PhonePlan::spain,
         {A::copy, A::message, A::call},
         {{A::copy, "030 1234567"}, {A::message, "0301234567"}, {A::call, "0301234567"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.value << "\" under " << rawValue(c.plan));
        const ContactField field{FieldID("f"), c.kind, "label", c.value};
        EXPECT_EQ(FieldActions::make(field, c.plan), c.offered);
        for (ContactAction action : allContactActions) {
            const auto request = FieldActions::request(action, field, c.plan);
            const auto expected = c.requests.find(action);
            if (expected == c.requests.end()) {
                EXPECT_EQ(request, std::nullopt) << rawValue(action);
                continue;
            }
            ASSERT_TRUE(request.has_value()) << rawValue(action);
            EXPECT_EQ(static_cast<int>(request->kind), static_cast<int>(action)); // same order of cases
            EXPECT_EQ(request->text, expected->second) << rawValue(action);
            EXPECT_EQ(request->extension, action == A::call ? c.callExtension : "") << rawValue(action);
        }
    }
}

TEST(ContactAction, RawValuesAndJson) {
    const char* const names[] = {"copy", "whatsapp", "message", "call", "email"};
    for (std::size_t i = 0; i < allContactActions.size(); ++i) {
        EXPECT_EQ(rawValue(allContactActions[i]), names[i]);
        EXPECT_EQ(contactActionFromRaw(names[i]), allContactActions[i]);
        EXPECT_EQ(decodeContactAction(nlohmann::json(allContactActions[i])), allContactActions[i]);
    }
    EXPECT_EQ(nlohmann::json(A::whatsapp).dump(), "\"whatsapp\"");
    EXPECT_EQ(contactActionFromRaw("WhatsApp"), std::nullopt);
    EXPECT_EQ(decodeContactAction(nlohmann::json(1)), std::nullopt);
}

} // namespace
