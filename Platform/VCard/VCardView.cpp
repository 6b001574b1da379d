#include "Platform/VCard/VCardView.hpp"

#include "Platform/VCard/VCard.hpp"

namespace Platform {

bool VCardView::Property::hasParameter(std::string_view parameterName,
                                       std::string_view parameterValue) const {
    for (const Parameter& parameter : parameters)
        if (equalsIgnoringCase(parameter.name, parameterName) &&
            equalsIgnoringCase(parameter.value, parameterValue))
            return true;
    return false;
}

std::optional<std::string_view> VCardView::Property::parameter(std::string_view parameterName) const {
    for (const Parameter& parameter : parameters)
        if (equalsIgnoringCase(parameter.name, parameterName))
            return parameter.value;
    return std::nullopt;
}

bool VCardView::Property::is(std::string_view upperName) const {
    return equalsIgnoringCase(name, upperName);
}

const VCardView::Property* VCardView::first(std::string_view name) const {
    for (const Property& property : properties)
        if (property.is(name))
            return &property;
    return nullptr;
}

} // namespace Platform
