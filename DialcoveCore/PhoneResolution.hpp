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
    // Every ASCII digit of the number a call dials, in order: the whole text when it holds only a
    // number's characters, else the part before an extension or pause marker ("x", "ext",
    // "extension", ";", ",", "#", "w", "p"). Empty when there is no number to call: no digits
    // there, or a word or sign that is neither (so "1-800-FLOWERS" calls nothing, never 1800).
    const std::string& dialingDigits() const { return dialingDigits_; }
    // The digits written after "x", "ext", "extension" or ";ext="; none without them. What follows
    // a pause marker is never dialled.
    const std::optional<std::string>& extension() const { return extension_; }

    bool isAvailable() const { return internationalNumber_.has_value(); }
    // What to dial or text: the international number when there is one, else the dialing digits.
    // Before a marker, that part is resolved as a number of its own under the same plan.
    const std::string& dialingText() const { return dialingText_; }

    friend bool operator==(const PhoneResolution&, const PhoneResolution&) = default;

private:
    std::string original_;
    std::optional<std::string> internationalNumber_;
    std::optional<PhoneUnavailableReason> reason_;
    std::string dialingDigits_;
    std::optional<std::string> extension_;
    std::string dialingText_;
};

} // namespace DialcoveCore
