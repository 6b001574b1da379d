#include "DialcoveCore/PhoneResolution.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <variant>

using namespace DialcoveCore;
using Reason = PhoneUnavailableReason;

namespace {

const char* nameOf(Reason reason) {
    static const char* const names[] = {"missingInternationalPrefix", "missingAreaCode",
                                        "invalidNationalNumber",      "serviceNumber",
                                        "invalidInternationalNumber", "unsupportedCharacters"};
    return names[static_cast<int>(reason)];
}

// A number and what it resolves to: the international number, or the reason there is none.
struct Case {
    const char* number;
    std::variant<const char*, Reason> expected;
};

void expectResolutions(PhonePlan plan, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << rawValue(plan) << ": \"" << c.number << "\"");
        const PhoneResolution resolution(c.number, plan);
        EXPECT_EQ(resolution.original(), c.number);
        if (const auto* international = std::get_if<const char*>(&c.expected)) {
            EXPECT_EQ(resolution.internationalNumber().value_or("(none)"), *international);
            EXPECT_FALSE(resolution.reason().has_value());
        } else {
            const Reason expected = std::get<Reason>(c.expected);
            EXPECT_EQ(resolution.internationalNumber(), std::nullopt);
            EXPECT_EQ(resolution.reason(), expected)
                << "expected " << nameOf(expected) << ", got "
                << (resolution.reason() ? nameOf(*resolution.reason()) : "none");
        }
    }
}

TEST(PhoneResolution, InternationalFormUnderEveryPlan) {
    for (PhonePlan plan : allPhonePlans)
        expectResolutions(
            plan, {
                      {"+55 11 91234-5678", "+5511912345678"},
                      {"+49 (0)30 1234567", "+490301234567"}, // "(0)" is not removed
                      {"\t+44 20 7946 0958\n", "+442079460958"},
                      {"+44\u00A020.7946/0958", "+442079460958"}, // any white space, "./" allowed
                      {"+12345678", "+12345678"},                 // 8 digits
                      {"+123456789012345", "+123456789012345"},   // 15 digits
                      {"+1234567", Reason::invalidInternationalNumber},
                      {"+1234567890123456", Reason::invalidInternationalNumber},
                      {"+0 44 1234 5678", Reason::invalidInternationalNumber},
                      {"++44 20 7946 0958", Reason::invalidInternationalNumber},
                      {"44+20 7946 0958", Reason::invalidInternationalNumber},
                      // Service numbers by the plan of the number's own country code.
                      {"+1 (800) 555-1234", Reason::serviceNumber},
                      {"+351 808 123 456", Reason::serviceNumber},
                      {"+52 900 123 4567", Reason::serviceNumber},
                      {"+41 0848 123 456", Reason::serviceNumber},
                      {"+44 800 123 4567", "+448001234567"}, // no plan of ours for 44
                      {"tel 123", Reason::unsupportedCharacters},
                      {"+44 20 7946 0958 ext", Reason::unsupportedCharacters},
                      {"\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668", Reason::unsupportedCharacters},
                      {"\uFF11\uFF12\uFF13", Reason::unsupportedCharacters}, // full-width digits
                      {"\xFF"
                       "123",
                       Reason::unsupportedCharacters}, // malformed UTF-8
                      {"", Reason::invalidNationalNumber},
                      {"   ", Reason::invalidNationalNumber},
                  });
}

TEST(PhoneResolution, Germany) {
    expectResolutions(PhonePlan::germany, {
                                              {"030 1234567", "+49301234567"},
                                              {"0049 30 1234567", "+49301234567"},
                                              {"030 12345", "+493012345"},             // 7 digits after "0"
                                              {"030 12345678901", "+493012345678901"}, // 13
                                              {"030 1234", Reason::invalidNationalNumber},         // 6
                                              {"030 123456789012", Reason::invalidNationalNumber}, // 14
                                              {"0", Reason::invalidNationalNumber},
                                              {"301234567", Reason::missingAreaCode},
                                              {"0800 1234567", Reason::serviceNumber},
                                              {"0180 123456", Reason::serviceNumber},
                                              {"0049 800 1234567", Reason::serviceNumber},
                                              // After "00": 8 to 15 digits, not starting with 0.
                                              {"00 1234 5678", "+12345678"},
                                              {"00 123 456 789 012 345", "+123456789012345"},
                                              {"00 123 4567", Reason::invalidInternationalNumber},
                                              {"00 123 456 789 012 3456", Reason::invalidInternationalNumber},
                                              {"000 49 301234567", Reason::invalidInternationalNumber},
                                          });
}

TEST(PhoneResolution, Austria) {
    expectResolutions(PhonePlan::austria, {
                                              {"01 234 5678", "+4312345678"},
                                              {"0043 1 2345678", "+4312345678"},
                                              {"01 234567", "+431234567"},                         // 7
                                              {"0664 1234567890", "+436641234567890"},             // 13
                                              {"01 23456", Reason::invalidNationalNumber},         // 6
                                              {"0664 12345678901", Reason::invalidNationalNumber}, // 14
                                              {"664 1234567", Reason::missingAreaCode},
                                              {"0810 123456", Reason::serviceNumber},
                                              {"0820 123456", Reason::serviceNumber},
                                          });
}

TEST(PhoneResolution, Switzerland) {
    expectResolutions(PhonePlan::switzerland, {
                                                  {"044 668 18 00", "+41446681800"},
                                                  {"0041 44 668 18 00", "+41446681800"},
                                                  {"044 668 18 0", Reason::invalidNationalNumber},   // 8
                                                  {"044 668 18 000", Reason::invalidNationalNumber}, // 10
                                                  {"44 668 18 00", Reason::missingAreaCode},
                                                  {"0848 123 456", Reason::serviceNumber},
                                                  {"0906 123 456", Reason::serviceNumber},
                                              });
}

TEST(PhoneResolution, NorthAmerica) {
    expectResolutions(PhonePlan::northAmerica, {
                                                   {"1 (415) 555-2671", "+14155552671"},
                                                   {"(415) 555-2671", "+14155552671"},
                                                   {"011 44 20 7946 0958", "+442079460958"},
                                                   {"00 44 20 7946 0958", "+442079460958"},
                                                   {"011 1234567", Reason::invalidInternationalNumber},
                                                   {"555-2671", Reason::missingAreaCode},
                                                   {"415 555 267", Reason::missingAreaCode},           // 9
                                                   {"(415) 555-26712", Reason::invalidNationalNumber}, // 11
                                                   {"(115) 555-2671", Reason::invalidNationalNumber},
                                                   {"(415) 155-2671", Reason::invalidNationalNumber},
                                                   {"(888) 555-1234", Reason::serviceNumber},
                                                   {"1 (800) 555-1234", Reason::serviceNumber},
                                               });
}

TEST(PhoneResolution, Brazil) {
    expectResolutions(PhonePlan::brazil,
                      {
                          {"(11) 91234-5678", "+5511912345678"},   // mobile, 11 digits
                          {"(11) 3123-4567", "+551131234567"},     // landline, 10 digits
                          {"55 11 91234-5678", "+5511912345678"},  // "55" of 13
                          {"55 11 3123-4567", "+551131234567"},    // "55" of 12
                          {"021 11 91234-5678", "+5511912345678"}, // trunk and carrier of 14
                          {"015 11 3123-4567", "+551131234567"},   // trunk and carrier of 13
                          {"0 11 91234-5678", "+5511912345678"},   // trunk of 12
                          {"0 11 3123-4567", "+551131234567"},     // trunk of 11
                          {"(55) 91234-5678", "+5555912345678"},   // area code 55 kept
                          {"91234-5678", Reason::missingAreaCode}, // 9
                          {"1234-5678", Reason::missingAreaCode},
                          {"11 91234-56789", Reason::invalidNationalNumber}, // 12
                          {"(20) 3123-4567", Reason::invalidNationalNumber}, // no area code 20
                          {"(11) 1234-5678", Reason::invalidNationalNumber},
                          {"(11) 81234-5678", Reason::invalidNationalNumber},
                          {"0800 123 4567", Reason::serviceNumber},
                          {"4004 1234", Reason::serviceNumber},
                          {"00 1 415 555 2671", Reason::invalidInternationalNumber},
                      });
}

TEST(PhoneResolution, PortugalSpainMexico) {
    expectResolutions(PhonePlan::portugal, {
                                               {"912 345 678", "+351912345678"},
                                               {"212 345 678", "+351212345678"},
                                               {"00351 912 345 678", "+351912345678"},
                                               {"812 345 678", Reason::invalidNationalNumber},
                                               {"91 234 567", Reason::invalidNationalNumber},
                                               {"912 345 6789", Reason::invalidNationalNumber},
                                               {"808 123 456", Reason::serviceNumber},
                                               {"760 123 456", Reason::serviceNumber},
                                           });
    expectResolutions(PhonePlan::spain, {
                                            {"612 34 56 78", "+34612345678"},
                                            {"912 34 56 78", "+34912345678"},
                                            {"0034 612 34 56 78", "+34612345678"},
                                            {"512 34 56 78", Reason::invalidNationalNumber},
                                            {"612 34 56 7", Reason::invalidNationalNumber},
                                            {"612 34 56 789", Reason::invalidNationalNumber},
                                            {"901 123 456", Reason::serviceNumber},
                                            {"030 1234567", Reason::invalidNationalNumber},
                                        });
    expectResolutions(PhonePlan::mexico, {
                                             {"52 55 1234 5678", "+525512345678"},
                                             {"55 1234 5678", "+525512345678"},
                                             {"5 1234 5678", Reason::missingAreaCode},         // 9
                                             {"55 1234 56789", Reason::invalidNationalNumber}, // 11
                                             {"15 1234 5678", Reason::invalidNationalNumber},
                                             {"800 123 4567", Reason::serviceNumber},
                                             {"52 800 123 4567", Reason::serviceNumber}, // found after "52"
                                         });
}

TEST(PhoneResolution, Other) {
    expectResolutions(PhonePlan::other, {
                                            {"0123456789", Reason::missingInternationalPrefix},
                                            {"00 44 20 7946 0958", Reason::missingInternationalPrefix},
                                            {"0800 123 4567", Reason::missingInternationalPrefix},
                                            {"+44 20 7946 0958", "+442079460958"},
                                        });
}

// What a call or message dials: only a number the value shows, never digits gathered from text
// around it.
TEST(PhoneResolution, DialsOnlyTheNumberBeforeAnExtensionOrPause) {
    const struct {
        PhonePlan plan;
        const char* value;
        const char* digits; // dialingDigits; empty: no number to call
        const char* text;   // dialingText
        std::optional<std::string> extension;
    } cases[] = {
        // A number's own characters: every digit, as before.
        {PhonePlan::other, " (11) 91234-5678 ", "11912345678", "11912345678", {}},
        {PhonePlan::other, "44+20 7946 0958", "442079460958", "442079460958", {}},
        // An extension: the number before it, resolved on its own, and the extension's digits.
        {PhonePlan::northAmerica, "+1 (555) 0100 ext. 9;w123", "15550100", "+15550100", "9"},
        {PhonePlan::northAmerica, "555-1234 ext. 12", "5551234", "5551234", "12"},
        {PhonePlan::germany, "030 1234567 x 12", "0301234567", "+49301234567", "12"},
        {PhonePlan::germany, "030 1234567X12", "0301234567", "+49301234567", "12"},
        {PhonePlan::other, "+44 20 7946 0958 Extension: 7-1", "442079460958", "+442079460958", "71"},
        {PhonePlan::other, "+44 20 7946 0958;ext=123", "442079460958", "+442079460958", "123"},
        {PhonePlan::other, "555 1234 ext", "5551234", "5551234", {}},
        // A pause: what follows is not dialled.
        {PhonePlan::other, "+44 20 7946 0958,,123", "442079460958", "+442079460958", {}},
        {PhonePlan::other, "555 1234;999", "5551234", "5551234", {}},
        {PhonePlan::other, "555 1234#99", "5551234", "5551234", {}},
        {PhonePlan::other, "555 1234 w 99", "5551234", "5551234", {}},
        {PhonePlan::other, "555 1234p99", "5551234", "5551234", {}},
        // No number to call: nothing before the marker, keypad letters, words or other signs.
        {PhonePlan::other, "ext. 12", "", "", {}},
        {PhonePlan::northAmerica, "1-800-FLOWERS", "", "", {}},
        {PhonePlan::northAmerica, "+1 555 0100?x=1&y=2#z%", "", "", {}},
        {PhonePlan::brazil, " (11) 9123-4567 ramal 2 ", "", "", {}},
        {PhonePlan::other, "tel 123", "", "", {}},
        {PhonePlan::other, "555 1234 \u202E99", "", "", {}},
        {PhonePlan::other, "\u0661\u0662\u0663 456", "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << rawValue(c.plan) << ": \"" << c.value << "\"");
        const PhoneResolution resolution(c.value, c.plan);
        EXPECT_EQ(resolution.dialingDigits(), c.digits);
        EXPECT_EQ(resolution.dialingText(), c.text);
        EXPECT_EQ(resolution.extension(), c.extension);
        if (c.extension) {
            EXPECT_EQ(resolution.reason(), Reason::unsupportedCharacters)
                << "chat still needs the whole value";
        }
    }
}

TEST(PhoneResolution, DialingTextOfAResolvedNumber) {
    const PhoneResolution international("+55 (11) 91234-5678", PhonePlan::other);
    EXPECT_TRUE(international.isAvailable());
    EXPECT_EQ(international.dialingDigits(), "5511912345678");
    EXPECT_EQ(international.dialingText(), "+5511912345678");

    EXPECT_EQ(PhoneResolution("", PhonePlan::germany).dialingDigits(), "");
    EXPECT_EQ(PhoneResolution("030 1234567", PhonePlan::germany),
              PhoneResolution("030 1234567", PhonePlan::germany));
    EXPECT_NE(PhoneResolution("030 1234567", PhonePlan::germany),
              PhoneResolution("030 1234567", PhonePlan::spain));
}

TEST(PhonePlan, ServicePrefixesAndNationalRule) {
    EXPECT_TRUE(isServiceNumber("08001234", PhonePlan::germany));
    EXPECT_FALSE(isServiceNumber("08001234", PhonePlan::northAmerica));
    EXPECT_FALSE(isServiceNumber("0800", PhonePlan::other));
    EXPECT_EQ(internationalDigits("0301234567", PhonePlan::germany),
              (std::variant<std::string, Reason>("49301234567")));
    EXPECT_EQ(internationalDigits("", PhonePlan::other),
              (std::variant<std::string, Reason>(Reason::invalidNationalNumber)));
}

TEST(PhonePlan, RegionCodes) {
    const std::pair<std::optional<std::string_view>, PhonePlan> cases[] = {
        {"BR", PhonePlan::brazil},        {"US", PhonePlan::northAmerica}, {"ca", PhonePlan::northAmerica},
        {"pt", PhonePlan::portugal},      {"MX", PhonePlan::mexico},       {"ES", PhonePlan::spain},
        {"De", PhonePlan::germany},       {"AT", PhonePlan::austria},      {"CH", PhonePlan::switzerland},
        {"GB", PhonePlan::other},         {"USA", PhonePlan::other},       {"", PhonePlan::other},
        {std::nullopt, PhonePlan::other},
    };
    for (const auto& [region, plan] : cases)
        EXPECT_EQ(phonePlanForRegion(region), plan) << region.value_or("(none)");
}

TEST(PhonePlan, RawValuesAndJson) {
    const char* const names[] = {"brazil",  "northAmerica", "portugal",    "mexico", "spain",
                                 "germany", "austria",      "switzerland", "other"};
    ASSERT_EQ(allPhonePlans.size(), std::size(names));
    for (std::size_t i = 0; i < allPhonePlans.size(); ++i) {
        EXPECT_EQ(rawValue(allPhonePlans[i]), names[i]);
        EXPECT_EQ(phonePlanFromRaw(names[i]), allPhonePlans[i]);
        EXPECT_EQ(nlohmann::json(allPhonePlans[i]).dump(), std::string("\"") + names[i] + "\"");
        EXPECT_EQ(decodePhonePlan(nlohmann::json(allPhonePlans[i])), allPhonePlans[i]);
    }
    EXPECT_EQ(nlohmann::ordered_json(PhonePlan::spain).dump(), "\"spain\"");
    EXPECT_EQ(phonePlanFromRaw("Brazil"), std::nullopt);
    for (const char* foreign : {"\"Germany\"", "5", "null", "[\"spain\"]", "{\"plan\":\"spain\"}"})
        EXPECT_EQ(decodePhonePlan(nlohmann::json::parse(foreign)), std::nullopt) << foreign;
}

} // namespace
