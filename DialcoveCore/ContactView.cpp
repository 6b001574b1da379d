#include "DialcoveCore/ContactView.hpp"

#include "DialcoveCore/ContactRules.hpp"

namespace DialcoveCore {

std::string ContactView::fieldID(std::size_t i) const {
    const FieldRecord& field = fields_[record_->firstField + i];
    std::string id;
    if (field.idFollowsContactID) {
        id.reserve(record_->id.length + field.id.length);
        id.append(text(record_->id));
    }
    id.append(text(field.id));
    return id;
}

std::optional<Birthday> ContactView::birthday() const {
    if (record_->birthdayDay == 0)
        return std::nullopt;
    return Birthday::make(record_->birthdayDay, record_->birthdayMonth,
                          record_->birthdayHasYear ? std::optional<int>(record_->birthdayYear)
                                                   : std::nullopt);
}

std::string_view ContactView::displayName() const {
    return ContactRules::displayName(formattedName(), organization(), fieldCount(),
                                     [&](std::size_t i) { return field(i).value; });
}

Contact ContactView::contact() const {
    std::vector<ContactField> fields;
    fields.reserve(fieldCount());
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const Field f = field(i);
        fields.push_back({FieldID(fieldID(i)), f.kind, std::string(f.label), std::string(f.value)});
    }
    return Contact(ContactID(std::string(id())), std::string(formattedName()), std::string(givenName()),
                   std::string(familyName()), std::string(organization()), std::string(jobTitle()),
                   std::move(fields), birthday());
}

} // namespace DialcoveCore
