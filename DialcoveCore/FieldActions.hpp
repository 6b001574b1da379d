#pragma once

#include "DialcoveCore/ActionRequest.hpp"
#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/ContactField.hpp"
#include "DialcoveCore/PhonePlan.hpp"

#include <optional>
#include <vector>

namespace DialcoveCore {

// Which actions a field offers under a phone plan, and what each becomes. Cheap enough for every
// redraw and key press.
struct FieldActions {
    FieldActions() = delete;

    // In the order of ContactAction: nothing for a blank value; copy and email for an e-mail; for a
    // phone, copy, then whatsapp when it resolves to an international number, then message and call
    // when it holds a digit.
    static std::vector<ContactAction> make(const ContactField& field, PhonePlan plan);

    // None when the field does not offer the action under the plan.
    static std::optional<ActionRequest> request(ContactAction action, const ContactField& field,
                                                PhonePlan plan);
};

} // namespace DialcoveCore
