#include "Platform/VCard/VCard.hpp"

namespace Platform {

namespace {

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    return true;
}

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
