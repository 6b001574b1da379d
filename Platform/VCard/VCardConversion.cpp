#include "Platform/VCard/VCardConversion.hpp"

#include "DialcoveCore/UnicodeText.hpp"
#include "Platform/VCard/VCardText.hpp"

#include <array>
#include <charconv>
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

std::string_view trimmed(std::string_view text) {
    return DialcoveCore::trimmedWhitespace(text);
}

// A text value unescaped and trimmed.
std::string_view textValue(std::string_view value, TextArena& arena) {
    return trimmed(unescapedText(value, arena));
}

std::string_view textOf(const VCardView::Property* property, TextArena& arena) {
    return property ? textValue(property->value, arena) : std::string_view();
}

// Words joined by single spaces, empty ones left out. One word is handed back as it is; only a
// joined text is copied, into the arena.
class SpaceJoined {
public:
    void add(std::string_view word) {
        if (word.empty())
            return;
        if (++count_ == 1) {
            first_ = word;
            return;
        }
        if (count_ == 2)
            joined_.assign(first_);
        joined_.push_back(' ');
        joined_.append(word);
    }
    std::string_view text(TextArena& arena) { return count_ > 1 ? arena.keep(std::move(joined_)) : first_; }

private:
    std::string_view first_;
    std::string joined_;
    int count_ = 0;
};

// A component of a structured value: its comma-separated values unescaped, blanks dropped,
// joined by spaces ("Quinlan,Q." in N gives "Quinlan Q.").
std::string_view componentText(std::string_view component, TextArena& arena) {
    SpaceJoined joined;
    std::string_view rest = component;
    std::string_view piece;
    bool done = false;
    while (nextUnescapedPiece(rest, done, ',', piece))
        joined.add(textValue(piece, arena));
    return joined.text(arena);
}

bool valueIs(const VCardView::Property* property, std::string_view expected) {
    return property && equalsIgnoringCase(DialcoveCore::trimmedWhitespace(property->value), expected);
}

std::string_view joinedWords(std::initializer_list<std::string_view> parts, TextArena& arena) {
    SpaceJoined joined;
    for (std::string_view part : parts)
        joined.add(part);
    return joined.text(arena);
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

std::string_view customLabel(std::string_view value, TextArena& arena) {
    const std::string_view text = textValue(value, arena);
    constexpr std::string_view prefix = "_$!<";
    constexpr std::string_view suffix = ">!$_";
    if (text.size() >= prefix.size() + suffix.size() && text.starts_with(prefix) && text.ends_with(suffix)) {
        const std::string_view inner =
            trimmed(text.substr(prefix.size(), text.size() - prefix.size() - suffix.size()));
        for (const auto& [known, label] : kKnownLabels)
            if (equalsIgnoringCase(inner, known))
                return label;
        return inner;
    }
    return text;
}

std::string_view typeLabel(const VCardView::Property& property, FieldKind kind) {
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
std::string_view fieldValue(std::string_view raw, FieldKind kind, TextArena& arena) {
    std::string_view value = textValue(raw, arena);
    const std::string_view scheme = kind == FieldKind::phone ? "tel:" : "mailto:";
    if (value.size() >= scheme.size() && equalsIgnoringCase(value.substr(0, scheme.size()), scheme))
        value = trimmed(value.substr(scheme.size()));
    return value;
}

// A card in its owning form seen as a view, so one conversion serves both.
struct ViewOfCard {
    explicit ViewOfCard(const VCard& card) {
        std::size_t count = 0;
        for (const auto& property : card.properties)
            count += property.parameters.size();
        parameters.reserve(count);
        properties.reserve(card.properties.size());
        for (const auto& property : card.properties) {
            const std::size_t first = parameters.size();
            for (const auto& parameter : property.parameters)
                parameters.push_back({parameter.name, parameter.value});
            properties.push_back(
                {property.group, property.name,
                 std::span<const VCardView::Parameter>(parameters.data() + first, property.parameters.size()),
                 property.value});
        }
        view.position = card.position;
        view.version = card.version;
        view.properties = properties;
    }

    std::vector<VCardView::Parameter> parameters;
    std::vector<VCardView::Property> properties;
    VCardView view;
};

// Labels of grouped properties (item1.X-ABLabel) by group, the first of each group, groups
// compared ignoring case. A card has one or two: a short list, until a card of many fields needs
// them hashed rather than scanned once per field.
class GroupLabels {
public:
    explicit GroupLabels(const VCardView& card) {
        for (const auto& property : card.properties)
            if (!property.group.empty() && property.is("X-ABLABEL"))
                add(property.group, property.value);
    }
    std::optional<std::string_view> find(std::string_view group) const {
        if (!many_.empty()) {
            const auto found = many_.find(group);
            return found == many_.end() ? std::nullopt : std::optional(found->second);
        }
        for (std::size_t i = 0; i < count_; ++i)
            if (equalsIgnoringCase(few_[i].first, group))
                return few_[i].second;
        return std::nullopt;
    }

private:
    static constexpr std::size_t kFew = 8;
    struct Hash {
        std::size_t operator()(std::string_view text) const {
            std::size_t hash = 14695981039346656037ull;
            for (char c : text)
                hash = (hash ^ static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)) *
                       1099511628211ull;
            return hash;
        }
    };
    struct Equal {
        bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoringCase(a, b); }
    };

    void add(std::string_view group, std::string_view value) {
        if (many_.empty() && find(group))
            return;
        if (many_.empty() && count_ < kFew) {
            few_[count_++] = {group, value};
            return;
        }
        if (many_.empty())
            for (std::size_t i = 0; i < count_; ++i)
                many_.emplace(few_[i].first, few_[i].second);
        many_.emplace(group, value);
    }

    std::array<std::pair<std::string_view, std::string_view>, kFew> few_{};
    std::size_t count_ = 0;
    std::unordered_map<std::string_view, std::string_view, Hash, Equal> many_;
};

// The first of each property the conversion reads, found in one walk over the card.
struct CardFields {
    explicit CardFields(const VCardView& card) {
        for (const auto& property : card.properties) {
            const VCardView::Property** slot = nullptr;
            switch (property.name.size()) {
            case 1:
                slot = property.is("N") ? &name : nullptr;
                break;
            case 2:
                slot = property.is("FN") ? &formattedName : nullptr;
                break;
            case 3:
                slot = property.is("UID") ? &uid : property.is("ORG") ? &organization : nullptr;
                break;
            case 4:
                slot = property.is("KIND") ? &kind : property.is("BDAY") ? &birthday : nullptr;
                break;
            case 5:
                slot = property.is("TITLE") ? &title : nullptr;
                break;
            case 10:
                slot = property.is("X-ABSHOWAS") ? &showAs : nullptr;
                break;
            case 24:
                slot = property.is("X-ADDRESSBOOKSERVER-KIND") ? &serverKind : nullptr;
                break;
            default:
                break;
            }
            if (slot && !*slot)
                *slot = &property;
        }
    }

    bool isGroup() const { return valueIs(kind, "group") || valueIs(serverKind, "group"); }
    bool isCompany() const { return valueIs(kind, "org") || valueIs(showAs, "COMPANY"); }

    const VCardView::Property* uid = nullptr;
    const VCardView::Property* name = nullptr;
    const VCardView::Property* formattedName = nullptr;
    const VCardView::Property* organization = nullptr;
    const VCardView::Property* title = nullptr;
    const VCardView::Property* birthday = nullptr;
    const VCardView::Property* kind = nullptr;
    const VCardView::Property* serverKind = nullptr;
    const VCardView::Property* showAs = nullptr;
};

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

// As fieldID, into `id`, which keeps its room for the next.
void writeFieldID(std::string& id, std::string_view contactID, FieldKind kind, std::string_view value,
                  std::size_t occurrence) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::uint32_t hash = fnv1a(value);
    id.assign(contactID);
    id.push_back('/');
    id.append(DialcoveCore::rawValue(kind));
    id.push_back('/');
    for (int shift = 28; shift >= 0; shift -= 4)
        id.push_back(kHex[(hash >> shift) & 0xF]);
    id.push_back('/');
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, occurrence).ptr;
    id.append(digits, end);
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

bool isGroupCard(const VCardView& card) {
    return CardFields(card).isGroup();
}

bool isCompanyCard(const VCardView& card) {
    return CardFields(card).isCompany();
}

bool isGroupCard(const VCard& card) {
    return isGroupCard(ViewOfCard(card).view);
}

bool isCompanyCard(const VCard& card) {
    return isCompanyCard(ViewOfCard(card).view);
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
    std::string id;
    writeFieldID(id, contactID, kind, value, occurrence);
    return id;
}

std::string_view contactIDOf(const VCardView& card, TextArena& arena) {
    return textOf(card.first("UID"), arena);
}

std::string contactIDOf(const VCard& card, const std::string& fallbackID) {
    TextArena arena;
    const std::string_view id = contactIDOf(ViewOfCard(card).view, arena);
    return id.empty() ? fallbackID : std::string(id);
}

bool draftFromVCard(const VCardView& card, std::string_view id, DialcoveCore::PackedContacts::Draft& draft,
                    TextArena& arena) {
    const CardFields found(card);
    if (found.isGroup())
        return false;
    // Emptied, keeping the room of its field list for the next card.
    draft.fields.clear();
    draft.birthday.reset();
    draft.id = id;
    draft.organization = {};

    std::string_view family, given, additional, prefix, suffix;
    if (const VCardView::Property* name = found.name) {
        std::string_view* targets[] = {&family, &given, &additional, &prefix, &suffix};
        std::string_view rest = name->value;
        std::string_view component;
        bool done = false;
        for (std::size_t i = 0; i < std::size(targets) && nextUnescapedPiece(rest, done, ';', component); ++i)
            *targets[i] = componentText(component, arena);
    }
    draft.familyName = family;
    draft.givenName = given;

    if (const VCardView::Property* org = found.organization) {
        std::string_view rest = org->value;
        std::string_view first;
        bool done = false;
        nextUnescapedPiece(rest, done, ';', first);
        draft.organization = textValue(first, arena);
    }

    draft.formattedName = textOf(found.formattedName, arena);
    if (draft.formattedName.empty())
        draft.formattedName = joinedWords({prefix, given, additional, family, suffix}, arena);
    if (draft.formattedName.empty() && found.isCompany())
        draft.formattedName = draft.organization;
    draft.jobTitle = textOf(found.title, arena);

    const GroupLabels groupLabels(card);
    // How many earlier fields had each kind and value hash; a card has few, so a short list does
    // until it has many.
    std::array<std::pair<std::pair<FieldKind, std::uint32_t>, std::size_t>, 16> counted{};
    std::size_t countedSize = 0;
    std::map<std::pair<FieldKind, std::uint32_t>, std::size_t> many;
    const auto occurrence = [&](FieldKind kind, std::uint32_t hash) -> std::size_t& {
        const std::pair key(kind, hash);
        if (many.empty()) {
            for (std::size_t i = 0; i < countedSize; ++i)
                if (counted[i].first == key)
                    return counted[i].second;
            if (countedSize < counted.size()) {
                counted[countedSize] = {key, 0};
                return counted[countedSize++].second;
            }
            for (std::size_t i = 0; i < countedSize; ++i)
                many.emplace(counted[i].first, counted[i].second);
        }
        return many[key];
    };
    for (const auto& property : card.properties) {
        FieldKind kind;
        if (property.is("TEL"))
            kind = FieldKind::phone;
        else if (property.is("EMAIL"))
            kind = FieldKind::email;
        else
            continue;
        const std::string_view value = fieldValue(property.value, kind, arena);
        std::string_view label;
        if (!property.group.empty())
            if (const auto found = groupLabels.find(property.group))
                label = customLabel(*found, arena);
        if (label.empty())
            label = typeLabel(property, kind);
        std::size_t& seen = occurrence(kind, fnv1a(value));
        thread_local std::string idText;
        writeFieldID(idText, id, kind, value, seen);
        draft.fields.push_back({arena.keep(idText), kind, label, value});
        ++seen;
    }

    if (const VCardView::Property* bday = found.birthday)
        draft.birthday = birthdayFromVCard(bday->value);
    return true;
}

std::optional<Contact> contactFromVCard(const VCard& card, const std::string& fallbackID) {
    const ViewOfCard view(card);
    TextArena arena;
    const std::string_view uid = contactIDOf(view.view, arena);
    DialcoveCore::PackedContacts::Draft draft;
    if (!draftFromVCard(view.view, uid.empty() ? std::string_view(fallbackID) : uid, draft, arena))
        return std::nullopt;
    std::vector<ContactField> fields;
    fields.reserve(draft.fields.size());
    for (const auto& field : draft.fields)
        fields.push_back(
            {FieldID(std::string(field.id)), field.kind, std::string(field.label), std::string(field.value)});
    return Contact(ContactID(std::string(draft.id)), std::string(draft.formattedName),
                   std::string(draft.givenName), std::string(draft.familyName),
                   std::string(draft.organization), std::string(draft.jobTitle), std::move(fields),
                   draft.birthday);
}

} // namespace Platform
