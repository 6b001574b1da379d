#pragma once

#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PhoneUnavailableReason.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace DialcoveCore {

// A phone number resolved under a phone plan: its international form ("+" and 8 to 15 digits), or
// the reason there is none. Exactly one of internationalNumber and reason is present.
class PhoneResolution {
public:
    PhoneResolution(std::string_view number, PhonePlan plan);

    // The number exactly as given.
    const std::string& original() const { return original_; }
    const std::optional<std::string>& internationalNumber() const { return internationalNumber_; }
    const std::optional<PhoneUnavailableReason>& reason() const { return reason_; }
    // Every ASCII digit of the whole original, in order.
    const std::string& dialingDigits() const { return dialingDigits_; }

    bool isAvailable() const { return internationalNumber_.has_value(); }
    // What to dial or text: the international number when there is one, else the dialing digits.
    const std::string& dialingText() const {
        return internationalNumber_ ? *internationalNumber_ : dialingDigits_;
    }

    friend bool operator==(const PhoneResolution&, const PhoneResolution&) = default;

private:
    std::string original_;
    std::optional<std::string> internationalNumber_;
    std::optional<PhoneUnavailableReason> reason_;
    std::string dialingDigits_;
};

} // namespace DialcoveCore
