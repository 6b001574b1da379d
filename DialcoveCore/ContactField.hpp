#pragma once

#include "DialcoveCore/FieldID.hpp"
#include "DialcoveCore/FieldKind.hpp"

#include <string>

namespace DialcoveCore {

// One labelled phone number or e-mail address, exactly as the address book holds it.
struct ContactField {
    FieldID id;
    FieldKind kind = FieldKind::phone;
    std::string label; // already localised, possibly empty
    std::string value; // not normalised

    friend bool operator==(const ContactField&, const ContactField&) = default;
};

} // namespace DialcoveCore
