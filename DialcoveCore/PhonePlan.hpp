#pragma once

#include "DialcoveCore/PhoneUnavailableReason.hpp"

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace DialcoveCore {

// The home-country numbering plan under which national numbers get their country code.
// Its raw value is the case name ("brazil", "northAmerica", ...), which is also how it is stored and synced.
enum class PhonePlan { brazil, northAmerica, portugal, mexico, spain, germany, austria, switzerland, other };

inline constexpr std::array<PhonePlan, 9> allPhonePlans{
    PhonePlan::brazil,  PhonePlan::northAmerica, PhonePlan::portugal,    PhonePlan::mexico, PhonePlan::spain,
    PhonePlan::germany, PhonePlan::austria,      PhonePlan::switzerland, PhonePlan::other,
};

std::string_view rawValue(PhonePlan plan);
// Only the exact case names give a plan.
std::optional<PhonePlan> phonePlanFromRaw(std::string_view raw);

// The plan of a region code such as "DE" or "ca" (compared upper-cased); `other` for any other code or none.
PhonePlan phonePlanForRegion(std::optional<std::string_view> regionCode);

// The country code without "+" ("55", "1", ...); none for `other`.
std::optional<std::string_view> countryCode(PhonePlan plan);

// True when `digits` begin with one of the plan's toll-free or premium prefixes; never for `other`.
bool isServiceNumber(std::string_view digits, PhonePlan plan);

// The national rule: from the ASCII digits of a number written without an international prefix to the
// international digits without "+" (country code, then the national significant number), or the reason
// there are none.
std::variant<std::string, PhoneUnavailableReason> internationalDigits(std::string_view digits,
                                                                      PhonePlan plan);

// Coded as the raw value, a JSON string. Decoding goes through decodePhonePlan, which gives no plan
// for anything else instead of throwing; nlohmann's own enum coding (as a number) is shut out.
template <typename Json> void to_json(Json& json, PhonePlan plan) {
    json = std::string(rawValue(plan));
}
template <typename Json> void from_json(const Json& json, PhonePlan& plan) = delete;
std::optional<PhonePlan> decodePhonePlan(const nlohmann::json& json);
std::optional<PhonePlan> decodePhonePlan(const nlohmann::ordered_json& json);

} // namespace DialcoveCore
