#include "Platform/VCard/VCard.hpp"

namespace Platform {

bool VCard::Property::hasParameter(std::string_view parameterName, std::string_view parameterValue) const {
    for (const auto& parameter : parameters)
        if (equalsIgnoringCase(parameter.name, parameterName) &&
            equalsIgnoringCase(parameter.value, parameterValue))
            return true;
    return false;
}

std::optional<std::string_view> VCard::Property::parameter(std::string_view parameterName) const {
    for (const auto& parameter : parameters)
        if (equalsIgnoringCase(parameter.name, parameterName))
            return std::string_view(parameter.value);
    return std::nullopt;
}

const VCard::Property* VCard::first(std::string_view name) const {
    for (const auto& property : properties)
        if (property.name == name)
            return &property;
    return nullptr;
}

} // namespace Platform
