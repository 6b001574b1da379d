#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace Platform {

// One card as the reader hands it on while it reads: every text a view into the file's bytes,
// or into the reader's own copy where a text had to be decoded or joined. Valid only during the
// call that receives it; VCard is the owning form. Names and groups are as written, compared
// ASCII case-insensitively.
struct VCardView {
    struct Parameter {
        std::string_view name;  // as written
        std::string_view value; // unquoted, valid UTF-8, case kept
    };

    struct Property {
        std::string_view group; // empty when none
        std::string_view name;
        std::span<const Parameter> parameters;
        // Valid UTF-8 with the transfer encoding and charset decoded; text escapes still in place.
        std::string_view value;

        // True when a parameter of this name has this value; both compare ASCII case-insensitively.
        bool hasParameter(std::string_view parameterName, std::string_view parameterValue) const;
        // The first value of the parameter, if any.
        std::optional<std::string_view> parameter(std::string_view parameterName) const;
        bool is(std::string_view upperName) const;
    };

    // As VCard::position.
    std::size_t position = 0;
    std::string_view version;
    std::span<const Property> properties;

    // The first property with this name (any case), if any.
    const Property* first(std::string_view name) const;
};

} // namespace Platform
