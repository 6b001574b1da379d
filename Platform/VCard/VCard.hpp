#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// One card as read from a .vcf file, before it becomes a contact.
struct VCard {
    // One parameter value. "TYPE=a,b" and "TYPE=a;TYPE=b" both give two entries; a bare vCard 2.1
    // parameter ("TEL;CELL") counts as a TYPE, or as the ENCODING when it names one.
    struct Parameter {
        std::string name;  // upper-cased
        std::string value; // unquoted, valid UTF-8, case kept

        friend bool operator==(const Parameter&, const Parameter&) = default;
    };

    // One unfolded content line: `group.NAME;PARAM=value:value`.
    struct Property {
        std::string group; // upper-cased, empty when none
        std::string name;  // upper-cased
        std::vector<Parameter> parameters;
        // Valid UTF-8 with the transfer encoding and charset already decoded; the text escapes
        // ("\n", "\,", "\;", "\\") are still in place, since structured values split on them.
        std::string value;

        // True when a parameter of this name has this value; both compare ASCII case-insensitively.
        bool hasParameter(std::string_view parameterName, std::string_view parameterValue) const;
        // The first value of the parameter, if any.
        std::optional<std::string_view> parameter(std::string_view parameterName) const;

        friend bool operator==(const Property&, const Property&) = default;
    };

    // 1-based place among the cards that begin in the file, counting unreadable ones, so the
    // cards after a broken one keep their place once it is mended.
    std::size_t position = 0;
    std::string version; // "2.1", "3.0", "4.0", or whatever the card said; empty when it said nothing
    std::vector<Property> properties;

    // The first property with this (upper-case) name, if any.
    const Property* first(std::string_view name) const;

    friend bool operator==(const VCard&, const VCard&) = default;
};

// ASCII-only case-insensitive equality, for the names and keywords of the format. Inline: the
// reader asks it for every line.
inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace Platform
