#include "DialcoveCore/Contact.hpp"

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
    std::unordered_set<FieldID> seen;
    fields_.reserve(fields.size());
    for (auto& field : fields) {
        // A blank field does not take up its identifier.
        if (isBlank(field.value))
            continue;
        if (!seen.insert(field.id).second)
            continue;
        fields_.push_back(std::move(field));
    }
    std::stable_partition(fields_.begin(), fields_.end(),
                          [](const ContactField& field) { return field.kind == FieldKind::phone; });
}

std::string Contact::displayName() const {
    if (!isBlank(formattedName_))
        return formattedName_;
    if (!isBlank(organization_))
        return organization_;
    for (const auto& field : fields_)
        if (!isBlank(field.value))
            return field.value;
    return {};
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
