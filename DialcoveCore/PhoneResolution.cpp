#include "DialcoveCore/PhoneResolution.hpp"

#include "DialcoveCore/TextFolding.hpp"
#include "DialcoveCore/UnicodeText.hpp"

namespace DialcoveCore {

namespace {

using Outcome = std::variant<std::string, PhoneUnavailableReason>;

bool isAllowed(char32_t c) {
    return (c >= U'0' && c <= U'9') || c == U'+' || c == U' ' || c == U'(' || c == U')' || c == U'-' ||
           c == U'.' || c == U'/' || isWhitespace(c);
}

bool hasOnlyAllowedCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (!isAllowed(decodeUtf8(text, i)))
            return false;
    return true;
}

// A number written with "+" is judged by the plan of its own country code, not the home plan.
bool isInternationalServiceNumber(std::string_view digits) {
    for (PhonePlan plan : allPhonePlans) {
        const auto code = countryCode(plan);
        if (code && digits.starts_with(*code) && isServiceNumber(digits.substr(code->size()), plan))
            return true;
    }
    return false;
}

// The digits after "+", "00" or "011".
Outcome international(std::string_view digits) {
    if (digits.size() < 8 || digits.size() > 15 || digits.starts_with("0"))
        return PhoneUnavailableReason::invalidInternationalNumber;
    if (isInternationalServiceNumber(digits))
        return PhoneUnavailableReason::serviceNumber;
    return std::string(digits);
}

Outcome resolve(std::string_view text, std::string_view digits, PhonePlan plan) {
    const std::string_view trimmed = trimmedWhitespace(text);
    if (!hasOnlyAllowedCharacters(trimmed))
        return PhoneUnavailableReason::unsupportedCharacters;
    if (trimmed.starts_with("+")) {
        if (trimmed.find('+', 1) != std::string_view::npos)
            return PhoneUnavailableReason::invalidInternationalNumber;
        return international(digits);
    }
    if (trimmed.find('+') != std::string_view::npos)
        return PhoneUnavailableReason::invalidInternationalNumber;
    // Brazil dials abroad with a carrier code after "00", so "00" there is left to the national rule.
    if (plan != PhonePlan::brazil && plan != PhonePlan::other && digits.starts_with("00"))
        return international(digits.substr(2));
    if (plan == PhonePlan::northAmerica && digits.starts_with("011"))
        return international(digits.substr(3));
    return internationalDigits(digits, plan);
}

} // namespace

PhoneResolution::PhoneResolution(std::string_view number, PhonePlan plan)
    : original_(number), dialingDigits_(digits(number)) {
    Outcome outcome = resolve(number, dialingDigits_, plan);
    if (auto* international = std::get_if<std::string>(&outcome))
        internationalNumber_ = "+" + *international;
    else
        reason_ = std::get<PhoneUnavailableReason>(outcome);
}

} // namespace DialcoveCore
