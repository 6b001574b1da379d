#include "Platform/VCard/VCardConversion.hpp"

#include "DialcoveCore/UnicodeText.hpp"
#include "Platform/VCard/VCardText.hpp"

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Platform {

using DialcoveCore::Birthday;
using DialcoveCore::Contact;
using DialcoveCore::ContactField;
using DialcoveCore::ContactID;
using DialcoveCore::FieldID;
using DialcoveCore::FieldKind;

namespace {

std::string trimmed(std::string_view text) {
    return std::string(DialcoveCore::trimmedWhitespace(text));
}

// A text value unescaped and trimmed.
std::string textValue(std::string_view value) {
    return trimmed(unescapedText(value));
}

std::string textOf(const VCard::Property* property) {
    return property ? textValue(property->value) : std::string();
}

// A component of a structured value: its comma-separated values unescaped, blanks dropped,
// joined by spaces ("Quinlan,Q." in N gives "Quinlan Q.").
std::string componentText(std::string_view component) {
    std::string out;
    for (std::string_view piece : splitAtUnescaped(component, ',')) {
        const std::string value = textValue(piece);
        if (value.empty())
            continue;
        if (!out.empty())
            out.push_back(' ');
        out.append(value);
    }
    return out;
}

bool valueIs(const VCard::Property* property, std::string_view expected) {
    return property && equalsIgnoringCase(DialcoveCore::trimmedWhitespace(property->value), expected);
}

std::string joinedWords(std::initializer_list<const std::string*> parts) {
    std::string out;
    for (const std::string* part : parts) {
        if (part->empty())
            continue;
        if (!out.empty())
            out.push_back(' ');
        out.append(*part);
    }
    return out;
}

// The known names behind the store's "_$!<...>!$_" label wrapper.
constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kKnownLabels{{
    {"Mobile", "mobile"},
    {"Home", "home"},
    {"Work", "work"},
    {"Main", "main"},
    {"HomeFAX", "home fax"},
    {"WorkFAX", "work fax"},
    {"OtherFAX", "other fax"},
    {"Pager", "pager"},
    {"Other", "other"},
    {"iPhone", "iPhone"},
    {"School", "school"},
}};

std::string customLabel(std::string_view value) {
    std::string text = textValue(value);
    constexpr std::string_view prefix = "_$!<";
    constexpr std::string_view suffix = ">!$_";
    if (text.size() >= prefix.size() + suffix.size() && text.compare(0, prefix.size(), prefix) == 0 &&
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0) {
        const std::string inner = trimmed(
            std::string_view(text).substr(prefix.size(), text.size() - prefix.size() - suffix.size()));
        for (const auto& [known, label] : kKnownLabels)
            if (equalsIgnoringCase(inner, known))
                return std::string(label);
        return inner;
    }
    return text;
}

std::string typeLabel(const VCard::Property& property, FieldKind kind) {
    const auto has = [&](std::string_view type) { return property.hasParameter("TYPE", type); };
    if (kind == FieldKind::phone) {
        if (has("IPHONE"))
            return "iPhone";
        if (has("CELL"))
            return "mobile";
        if (has("PAGER"))
            return "pager";
        if (has("FAX"))
            return has("HOME") ? "home fax" : has("WORK") ? "work fax" : "other fax";
        if (has("MAIN"))
            return "main";
    }
    if (has("HOME"))
        return "home";
    if (has("WORK"))
        return "work";
    return "other";
}

// The value as the user would dial or write it: 4.0 gives numbers as "tel:" URIs.
std::string fieldValue(std::string_view raw, FieldKind kind) {
    std::string value = textValue(raw);
    const std::string_view scheme = kind == FieldKind::phone ? "tel:" : "mailto:";
    if (value.size() >= scheme.size() &&
        equalsIgnoringCase(std::string_view(value).substr(0, scheme.size()), scheme))
        value = trimmed(std::string_view(value).substr(scheme.size()));
    return value;
}

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

// Reads `count` ASCII digits at `offset`; -1 when any is not a digit.
int digitsAt(std::string_view text, std::size_t offset, std::size_t count) {
    if (offset + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = offset; i < offset + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::span<const std::string_view> contactProperties() {
    static constexpr std::array<std::string_view, 13> kProperties{"UID",
                                                                  "FN",
                                                                  "N",
                                                                  "ORG",
                                                                  "TITLE",
                                                                  "TEL",
                                                                  "EMAIL",
                                                                  "BDAY",
                                                                  "KIND",
                                                                  "X-ABSHOWAS",
                                                                  "X-ADDRESSBOOKSERVER-KIND",
                                                                  "X-ABLABEL",
                                                                  "VERSION"};
    return kProperties;
}

bool isGroupCard(const VCard& card) {
    return valueIs(card.first("KIND"), "group") || valueIs(card.first("X-ADDRESSBOOKSERVER-KIND"), "group");
}

bool isCompanyCard(const VCard& card) {
    return valueIs(card.first("KIND"), "org") || valueIs(card.first("X-ABSHOWAS"), "COMPANY");
}

std::optional<Birthday> birthdayFromVCard(std::string_view value) {
    std::string_view date = DialcoveCore::trimmedWhitespace(value);
    date = date.substr(0, date.find('T'));
    int year = -1;
    int month = -1;
    int day = -1;
    if (date.size() == 6 && date.substr(0, 2) == "--") {
        month = digitsAt(date, 2, 2);
        day = digitsAt(date, 4, 2);
    } else if (date.size() == 7 && date.substr(0, 2) == "--" && date[4] == '-') {
        month = digitsAt(date, 2, 2);
        day = digitsAt(date, 5, 2);
    } else if (date.size() == 10 && date[4] == '-' && date[7] == '-') {
        year = digitsAt(date, 0, 4);
        month = digitsAt(date, 5, 2);
        day = digitsAt(date, 8, 2);
    } else if (date.size() == 8) {
        year = digitsAt(date, 0, 4);
        month = digitsAt(date, 4, 2);
        day = digitsAt(date, 6, 2);
    } else {
        return std::nullopt;
    }
    // A year that is there must be read; "--" forms have none.
    if (month < 0 || day < 0 || (date.size() >= 8 && year < 0))
        return std::nullopt;
    return Birthday::make(day, month, year >= 0 ? std::optional<int>(year) : std::nullopt);
}

std::string fieldID(std::string_view contactID, FieldKind kind, std::string_view value,
                    std::size_t occurrence) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::uint32_t hash = fnv1a(value);
    std::string id(contactID);
    id.push_back('/');
    id.append(DialcoveCore::rawValue(kind));
    id.push_back('/');
    for (int shift = 28; shift >= 0; shift -= 4)
        id.push_back(kHex[(hash >> shift) & 0xF]);
    id.push_back('/');
    id.append(std::to_string(occurrence));
    return id;
}

std::string contactIDOf(const VCard& card, const std::string& fallbackID) {
    std::string id = textOf(card.first("UID"));
    return id.empty() ? fallbackID : id;
}

std::optional<Contact> contactFromVCard(const VCard& card, const std::string& fallbackID) {
    if (isGroupCard(card))
        return std::nullopt;

    std::string id = contactIDOf(card, fallbackID);

    std::string family, given, additional, prefix, suffix;
    if (const VCard::Property* name = card.first("N")) {
        const auto components = splitAtUnescaped(name->value, ';');
        std::string* targets[] = {&family, &given, &additional, &prefix, &suffix};
        for (std::size_t i = 0; i < components.size() && i < std::size(targets); ++i)
            *targets[i] = componentText(components[i]);
    }

    std::string organization;
    if (const VCard::Property* org = card.first("ORG"))
        organization = textValue(splitAtUnescaped(org->value, ';').front());

    std::string formattedName = textOf(card.first("FN"));
    if (formattedName.empty())
        formattedName = joinedWords({&prefix, &given, &additional, &family, &suffix});
    if (formattedName.empty() && isCompanyCard(card))
        formattedName = organization;

    // Grouped labels by group, read once so a card with many fields stays linear.
    std::unordered_map<std::string_view, std::string_view> groupLabels;
    for (const auto& property : card.properties)
        if (property.name == "X-ABLABEL" && !property.group.empty())
            groupLabels.emplace(property.group, property.value);

    std::vector<ContactField> fields;
    std::map<std::pair<FieldKind, std::uint32_t>, std::size_t> occurrences;
    for (const auto& property : card.properties) {
        FieldKind kind;
        if (property.name == "TEL")
            kind = FieldKind::phone;
        else if (property.name == "EMAIL")
            kind = FieldKind::email;
        else
            continue;
        std::string value = fieldValue(property.value, kind);
        std::string label;
        if (!property.group.empty())
            if (const auto found = groupLabels.find(property.group); found != groupLabels.end())
                label = customLabel(found->second);
        if (label.empty())
            label = typeLabel(property, kind);
        std::size_t& occurrence = occurrences[{kind, fnv1a(value)}];
        fields.push_back(
            {FieldID(fieldID(id, kind, value, occurrence)), kind, std::move(label), std::move(value)});
        ++occurrence;
    }

    std::optional<Birthday> birthday;
    if (const VCard::Property* bday = card.first("BDAY"))
        birthday = birthdayFromVCard(bday->value);

    return Contact(ContactID(std::move(id)), std::move(formattedName), std::move(given), std::move(family),
                   std::move(organization), textOf(card.first("TITLE")), std::move(fields), birthday);
}

} // namespace Platform
