#pragma once

namespace DialcoveCore {

// Why a phone number has no international form.
enum class PhoneUnavailableReason {
    missingInternationalPrefix, // national number under `other`: no country code to add
    missingAreaCode,            // too short for an area code, or without the trunk "0" the plan needs
    invalidNationalNumber,      // does not fit the plan's national rules
    serviceNumber,              // toll-free or premium
    invalidInternationalNumber, // written in international form, but malformed
    unsupportedCharacters,      // holds something other than digits, "+", white space and "()-./"
};

} // namespace DialcoveCore
