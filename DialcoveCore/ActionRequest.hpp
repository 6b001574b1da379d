#pragma once

#include <string>

namespace DialcoveCore {

// What a chosen action will do, with exactly the text the outside world needs.
struct ActionRequest {
    enum class Kind { copy, whatsapp, message, call, email };

    Kind kind = Kind::copy;
    // copy, email: the field's value as stored; whatsapp: the international number ("+" and 8 to 15
    // digits); message, call: the international number when there is one, else the dialing digits.
    std::string text;
    // call: the extension's digits, dialled after the number; empty without one. A message goes
    // to the number alone.
    std::string extension;

    static ActionRequest copy(std::string value) { return {Kind::copy, std::move(value), {}}; }
    static ActionRequest whatsapp(std::string internationalNumber) {
        return {Kind::whatsapp, std::move(internationalNumber), {}};
    }
    static ActionRequest message(std::string dialingText) {
        return {Kind::message, std::move(dialingText), {}};
    }
    static ActionRequest call(std::string dialingText, std::string extension = {}) {
        return {Kind::call, std::move(dialingText), std::move(extension)};
    }
    static ActionRequest email(std::string address) { return {Kind::email, std::move(address), {}}; }

    friend bool operator==(const ActionRequest&, const ActionRequest&) = default;
};

} // namespace DialcoveCore
