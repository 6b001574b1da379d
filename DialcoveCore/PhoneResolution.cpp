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

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithLowered(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowered(text[i]) != prefix[i])
            return false;
    return true;
}

bool equalsLowered(std::string_view text, std::string_view word) {
    return text.size() == word.size() && startsWithLowered(text, word);
}

// The digits of an extension at the start of `text`, after any ". : =" and spaces, with the
// visual separators "-", ".", "(" and ")" between them; none when no digit follows.
std::optional<std::string> extensionDigits(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '.' || text[at] == ':' || text[at] == '='))
        ++at;
    std::string out;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c >= '0' && c <= '9')
            out.push_back(c);
        else if (c != '-' && c != '.' && c != '(' && c != ')')
            break;
    }
    if (out.empty())
        return std::nullopt;
    return out;
}

// The number a call dials: the text up to the first extension or pause marker, and the extension.
struct Dialable {
    std::string_view number;
    std::optional<std::string> extension;
};

// None when the number holds a word that is not a marker, or any other sign beyond a number's.
std::optional<Dialable> dialablePart(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (c == ';') {
            const std::string_view rest = text.substr(at + 1);
            std::optional<std::string> extension;
            if (startsWithLowered(rest, "ext="))
                extension = extensionDigits(rest.substr(4));
            return Dialable{text.substr(0, at), extension};
        }
        if (c == ',' || c == '#')
            return Dialable{text.substr(0, at), std::nullopt};
        if (isAsciiLetter(c)) {
            std::size_t end = at;
            while (end < text.size() && isAsciiLetter(text[end]))
                ++end;
            const std::string_view word = text.substr(at, end - at);
            if (equalsLowered(word, "x") || equalsLowered(word, "ext") || equalsLowered(word, "extension"))
                return Dialable{text.substr(0, at), extensionDigits(text.substr(end))};
            if (equalsLowered(word, "w") || equalsLowered(word, "p"))
                return Dialable{text.substr(0, at), std::nullopt};
            return std::nullopt;
        }
        if (!isAllowed(decodeUtf8(text, at)))
            return std::nullopt;
    }
    return Dialable{text, std::nullopt};
}

} // namespace

PhoneResolution::PhoneResolution(std::string_view number, PhonePlan plan) : original_(number) {
    // Chat needs the whole text to be a number; only a call or message may stop at a marker.
    const std::string allDigits = digits(number);
    Outcome outcome = resolve(number, allDigits, plan);
    if (auto* international = std::get_if<std::string>(&outcome))
        internationalNumber_ = "+" + *international;
    else
        reason_ = std::get<PhoneUnavailableReason>(outcome);

    const std::optional<Dialable> dialable = dialablePart(number);
    if (!dialable)
        return;
    dialingDigits_ = digits(dialable->number);
    if (dialingDigits_.empty())
        return;
    if (dialable->number.size() == number.size()) {
        dialingText_ = internationalNumber_ ? *internationalNumber_ : dialingDigits_;
        return;
    }
    extension_ = dialable->extension;
    const PhoneResolution before(dialable->number, plan);
    dialingText_ = before.dialingText();
}

} // namespace DialcoveCore
