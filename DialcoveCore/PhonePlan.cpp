#include "DialcoveCore/PhonePlan.hpp"

#include "DialcoveCore/RawValue.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <nlohmann/json.hpp>
#include <span>

namespace DialcoveCore {

namespace {

using Outcome = std::variant<std::string, PhoneUnavailableReason>;

struct PlanInfo {
    PhonePlan plan;
    std::string_view name;
    std::array<std::string_view, 2> regions; // empty slots unused
    std::string_view countryCode;
    std::span<const std::string_view> servicePrefixes;
};

constexpr std::string_view brazilService[] = {"0800", "0300", "0500", "0900", "800",
                                              "300",  "500",  "900",  "4003", "4004"};
constexpr std::string_view northAmericaService[] = {"800",  "833",  "844",  "855",  "866",  "877",
                                                    "888",  "900",  "1800", "1833", "1844", "1855",
                                                    "1866", "1877", "1888", "1900"};
constexpr std::string_view portugalService[] = {"800", "808", "707", "760"};
constexpr std::string_view mexicoService[] = {"800", "900"};
constexpr std::string_view spainService[] = {"800", "900", "901", "902", "905", "803", "806", "807"};
constexpr std::string_view germanyService[] = {"0800", "0900", "0180", "800", "900", "180"};
constexpr std::string_view austriaService[] = {"0800", "0900", "0810", "0820", "800", "900", "810", "820"};
constexpr std::string_view switzerlandService[] = {"0800", "0840", "0842", "0844", "0848", "0900",
                                                   "0901", "0906", "800",  "840",  "842",  "844",
                                                   "848",  "900",  "901",  "906"};

// In declared order, so plans[static_cast<int>(plan)] is the plan's row.
constexpr PlanInfo plans[] = {
    {PhonePlan::brazil, "brazil", {"BR", ""}, "55", brazilService},
    {PhonePlan::northAmerica, "northAmerica", {"US", "CA"}, "1", northAmericaService},
    {PhonePlan::portugal, "portugal", {"PT", ""}, "351", portugalService},
    {PhonePlan::mexico, "mexico", {"MX", ""}, "52", mexicoService},
    {PhonePlan::spain, "spain", {"ES", ""}, "34", spainService},
    {PhonePlan::germany, "germany", {"DE", ""}, "49", germanyService},
    {PhonePlan::austria, "austria", {"AT", ""}, "43", austriaService},
    {PhonePlan::switzerland, "switzerland", {"CH", ""}, "41", switzerlandService},
    {PhonePlan::other, "other", {"", ""}, "", {}},
};

const PlanInfo& info(PhonePlan plan) {
    return plans[static_cast<std::size_t>(plan)];
}

// The 67 Brazilian area codes (DDD).
bool isBrazilianAreaCode(int code) {
    static constexpr int scattered[] = {21, 22, 24, 27, 28, 31, 32, 33, 34, 35, 37,
                                        38, 51, 53, 54, 55, 71, 73, 74, 75, 77, 79};
    const int tens = code / 10;
    const int units = code % 10;
    // Whole decades 11-19, 41-49, 61-69, 81-89 and 91-99.
    if ((tens == 1 || tens == 4 || tens == 6 || tens == 8 || tens == 9) && units != 0)
        return true;
    for (int c : scattered)
        if (c == code)
            return true;
    return false;
}

bool inRange(char c, char low, char high) {
    return c >= low && c <= high;
}

Outcome brazil(std::string_view d) {
    if (d.starts_with("00"))
        return PhoneUnavailableReason::invalidInternationalNumber;
    std::string_view n = d;
    if (d.starts_with("55") && (d.size() == 12 || d.size() == 13))
        n.remove_prefix(2);
    else if (d.starts_with("0") && (d.size() == 13 || d.size() == 14))
        n.remove_prefix(3); // trunk "0" and a two-digit carrier code
    else if (d.starts_with("0") && (d.size() == 11 || d.size() == 12))
        n.remove_prefix(1);
    if (n.size() <= 9)
        return PhoneUnavailableReason::missingAreaCode;
    if (!isBrazilianAreaCode((n[0] - '0') * 10 + (n[1] - '0')))
        return PhoneUnavailableReason::invalidNationalNumber;
    if (n.size() != 10 && n.size() != 11)
        return PhoneUnavailableReason::invalidNationalNumber;
    // Landlines start their subscriber number with 2-9, mobiles carry the ninth digit 9.
    if (n.size() == 10 ? !inRange(n[2], '2', '9') : n[2] != '9')
        return PhoneUnavailableReason::invalidNationalNumber;
    return "55" + std::string(n);
}

Outcome northAmerica(std::string_view d) {
    std::string_view n = d;
    if (d.size() == 11 && d.starts_with("1"))
        n.remove_prefix(1);
    if (n.size() < 10)
        return PhoneUnavailableReason::missingAreaCode;
    if (n.size() > 10)
        return PhoneUnavailableReason::invalidNationalNumber;
    // Neither an area code nor an exchange code starts with 0 or 1.
    if (!inRange(n[0], '2', '9') || !inRange(n[3], '2', '9'))
        return PhoneUnavailableReason::invalidNationalNumber;
    return "1" + std::string(n);
}

Outcome portugal(std::string_view d) {
    if (d.size() != 9 || (d[0] != '2' && d[0] != '9'))
        return PhoneUnavailableReason::invalidNationalNumber;
    return "351" + std::string(d);
}

Outcome mexico(std::string_view d) {
    std::string_view n = d;
    if (d.size() == 12 && d.starts_with("52"))
        n.remove_prefix(2);
    if (isServiceNumber(n, PhonePlan::mexico))
        return PhoneUnavailableReason::serviceNumber;
    if (n.size() <= 9)
        return PhoneUnavailableReason::missingAreaCode;
    if (n.size() != 10 || !inRange(n[0], '2', '9'))
        return PhoneUnavailableReason::invalidNationalNumber;
    return "52" + std::string(n);
}

Outcome spain(std::string_view d) {
    if (d.size() != 9 || !inRange(d[0], '6', '9'))
        return PhoneUnavailableReason::invalidNationalNumber;
    return "34" + std::string(d);
}

// Germany, Austria and Switzerland dial national numbers with the trunk "0".
Outcome withTrunkZero(std::string_view d, PhonePlan plan, std::size_t fewest, std::size_t most) {
    if (!d.starts_with("0"))
        return PhoneUnavailableReason::missingAreaCode;
    const std::string_view n = d.substr(1);
    if (n.empty() || !inRange(n[0], '1', '9') || n.size() < fewest || n.size() > most)
        return PhoneUnavailableReason::invalidNationalNumber;
    return std::string(info(plan).countryCode) + std::string(n);
}

template <typename Json> std::optional<PhonePlan> decode(const Json& json) {
    if (!json.is_string())
        return std::nullopt;
    return phonePlanFromRaw(json.template get_ref<const std::string&>());
}

} // namespace

std::string_view rawValue(PhonePlan plan) {
    return info(plan).name;
}

std::optional<PhonePlan> phonePlanFromRaw(std::string_view raw) {
    return caseWithRawValue(allPhonePlans, raw);
}

PhonePlan phonePlanForRegion(std::optional<std::string_view> regionCode) {
    if (!regionCode)
        return PhonePlan::other;
    const std::string code = upperCased(*regionCode);
    for (const PlanInfo& row : plans)
        for (std::string_view region : row.regions)
            if (!region.empty() && region == code)
                return row.plan;
    return PhonePlan::other;
}

std::optional<std::string_view> countryCode(PhonePlan plan) {
    if (plan == PhonePlan::other)
        return std::nullopt;
    return info(plan).countryCode;
}

bool isServiceNumber(std::string_view digits, PhonePlan plan) {
    for (std::string_view prefix : info(plan).servicePrefixes)
        if (digits.starts_with(prefix))
            return true;
    return false;
}

std::variant<std::string, PhoneUnavailableReason> internationalDigits(std::string_view digits,
                                                                      PhonePlan plan) {
    if (digits.empty())
        return PhoneUnavailableReason::invalidNationalNumber;
    if (isServiceNumber(digits, plan))
        return PhoneUnavailableReason::serviceNumber;
    switch (plan) {
    case PhonePlan::brazil:
        return brazil(digits);
    case PhonePlan::northAmerica:
        return northAmerica(digits);
    case PhonePlan::portugal:
        return portugal(digits);
    case PhonePlan::mexico:
        return mexico(digits);
    case PhonePlan::spain:
        return spain(digits);
    case PhonePlan::germany:
        return withTrunkZero(digits, plan, 7, 13);
    case PhonePlan::austria:
        return withTrunkZero(digits, plan, 7, 13);
    case PhonePlan::switzerland:
        return withTrunkZero(digits, plan, 9, 9);
    case PhonePlan::other:
        break;
    }
    return PhoneUnavailableReason::missingInternationalPrefix;
}

std::optional<PhonePlan> decodePhonePlan(const nlohmann::json& json) {
    return decode(json);
}
std::optional<PhonePlan> decodePhonePlan(const nlohmann::ordered_json& json) {
    return decode(json);
}

} // namespace DialcoveCore
