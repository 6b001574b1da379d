#include "DialcoveCore/Contact.hpp"

#include "DialcoveCore/ContactRules.hpp"
#include "DialcoveCore/TextFolding.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <unordered_set>

namespace DialcoveCore {

Contact::Contact(ContactID id, std::string formattedName, std::string givenName, std::string familyName,
                 std::string organization, std::string jobTitle, std::vector<ContactField> fields,
                 std::optional<Birthday> birthday)
    : id_(std::move(id)), formattedName_(std::move(formattedName)), givenName_(std::move(givenName)),
      familyName_(std::move(familyName)), organization_(std::move(organization)),
      jobTitle_(std::move(jobTitle)), birthday_(birthday) {
    std::vector<std::size_t> kept;
    kept.reserve(fields.size());
    ContactRules::keptFields(
        fields.size(), [&](std::size_t i) { return std::string_view(fields[i].id.rawValue); },
        [&](std::size_t i) { return fields[i].kind; },
        [&](std::size_t i) { return std::string_view(fields[i].value); },
        [&](std::size_t i) { kept.push_back(i); });
    fields_.reserve(kept.size());
    for (const std::size_t i : kept)
        fields_.push_back(std::move(fields[i]));
}

std::string Contact::displayName() const {
    return std::string(
        ContactRules::displayName(formattedName_, organization_, fields_.size(),
                                  [&](std::size_t i) { return std::string_view(fields_[i].value); }));
}

std::string Contact::initials() const {
    std::string letters;
    for (const std::string* name : {&givenName_, &familyName_})
        letters.append(firstGrapheme(trimmedWhitespace(*name)));

    if (letters.empty()) {
        const std::string name = displayName();
        int taken = 0;
        std::size_t offset = 0;
        while (offset < name.size() && taken < 2) {
            // Skip white space, then take the first character of the piece.
            std::size_t next = offset;
            if (isWhitespace(decodeUtf8(name, next))) {
                offset = next;
                continue;
            }
            letters.append(firstGrapheme(std::string_view(name).substr(offset)));
            ++taken;
            while (offset < name.size()) {
                next = offset;
                if (isWhitespace(decodeUtf8(name, next)))
                    break;
                offset = next;
            }
        }
    }
    return upperCased(letters);
}

std::string Contact::subtitle() const {
    std::unordered_set<std::string> seen{foldedForm(displayName())};
    std::string out;
    for (const std::string* part : {&organization_, &jobTitle_}) {
        if (isBlank(*part))
            continue;
        if (!seen.insert(foldedForm(*part)).second)
            continue;
        if (!out.empty())
            out.append(" \u00B7 ");
        out.append(*part);
    }
    return out;
}

std::optional<ContactField> Contact::field(const FieldID& id) const {
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [&](const ContactField& field) { return field.id == id; });
    if (found == fields_.end())
        return std::nullopt;
    return *found;
}

} // namespace DialcoveCore
