#include "DialcoveCore/FieldActions.hpp"

#include "DialcoveCore/PhoneResolution.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>

namespace DialcoveCore {

namespace {

std::vector<ContactAction> actionsOf(const ContactField& field,
                                     const std::optional<PhoneResolution>& resolution) {
    if (isBlank(field.value))
        return {};
    if (field.kind == FieldKind::email)
        return {ContactAction::copy, ContactAction::email};
    if (resolution->dialingDigits().empty())
        return {ContactAction::copy};
    if (!resolution->isAvailable())
        return {ContactAction::copy, ContactAction::message, ContactAction::call};
    return {ContactAction::copy, ContactAction::whatsapp, ContactAction::message, ContactAction::call};
}

std::optional<PhoneResolution> resolutionOf(const ContactField& field, PhonePlan plan) {
    if (field.kind != FieldKind::phone)
        return std::nullopt;
    return PhoneResolution(field.value, plan);
}

} // namespace

std::vector<ContactAction> FieldActions::make(const ContactField& field, PhonePlan plan) {
    return actionsOf(field, resolutionOf(field, plan));
}

std::optional<ActionRequest> FieldActions::request(ContactAction action, const ContactField& field,
                                                   PhonePlan plan) {
    const auto resolution = resolutionOf(field, plan);
    const auto offered = actionsOf(field, resolution);
    if (std::find(offered.begin(), offered.end(), action) == offered.end())
        return std::nullopt;
    switch (action) {
    case ContactAction::copy:
        return ActionRequest::copy(field.value);
    case ContactAction::whatsapp:
        return ActionRequest::whatsapp(*resolution->internationalNumber());
    case ContactAction::message:
        return ActionRequest::message(resolution->dialingText());
    case ContactAction::call:
        return ActionRequest::call(resolution->dialingText(), resolution->extension().value_or(""));
    case ContactAction::email:
        return ActionRequest::email(field.value);
    }
    return std::nullopt;
}

} // namespace DialcoveCore
