#include "DialcoveCore/PackedContacts.hpp"

#include "DialcoveCore/ContactRules.hpp"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace DialcoveCore {

namespace {

using Record = ContactView::Record;
using FieldRecord = ContactView::FieldRecord;

void setBirthday(Record& record, const std::optional<Birthday>& birthday) {
    if (!birthday)
        return;
    record.birthdayDay = static_cast<std::uint8_t>(birthday->day());
    record.birthdayMonth = static_cast<std::uint8_t>(birthday->month());
    record.birthdayHasYear = birthday->year().has_value();
    record.birthdayYear = birthday->year().value_or(0);
}

} // namespace

ContactView::Text PackedContacts::Builder::addText(std::string_view text) {
    if (bytes_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many contacts for one block");
    const ContactView::Text stored{static_cast<std::uint32_t>(bytes_.size()),
                                   static_cast<std::uint32_t>(text.size())};
    bytes_.append(text);
    return stored;
}

ContactView::Text PackedContacts::Builder::addLabel(std::string_view label) {
    // A book has a handful of labels ("mobile", "home", "work"...), so a short list does.
    for (const ContactView::Text known : labels_)
        if (std::string_view(bytes_.data() + known.offset, known.length) == label)
            return known;
    const ContactView::Text text = addText(label);
    if (labels_.size() < 64)
        labels_.push_back(text);
    return text;
}

void PackedContacts::Builder::add(const Draft& draft) {
    Record record;
    record.id = addText(draft.id);
    record.formattedName = addText(draft.formattedName);
    record.givenName = addText(draft.givenName);
    record.familyName = addText(draft.familyName);
    record.organization = addText(draft.organization);
    record.jobTitle = addText(draft.jobTitle);
    setBirthday(record, draft.birthday);
    record.firstField = static_cast<std::uint32_t>(fields_.size());
    const auto& fields = draft.fields;
    ContactRules::keptFields(
        fields.size(), [&](std::size_t k) { return fields[k].id; },
        [&](std::size_t k) { return fields[k].kind; }, [&](std::size_t k) { return fields[k].value; },
        [&](std::size_t i) {
            const Draft::Field& field = fields[i];
            FieldRecord stored;
            stored.kind = static_cast<std::uint8_t>(field.kind);
            stored.idFollowsContactID = !draft.id.empty() && field.id.starts_with(draft.id);
            stored.id = addText(stored.idFollowsContactID ? field.id.substr(draft.id.size()) : field.id);
            stored.label = addLabel(field.label);
            stored.value = addText(field.value);
            fields_.push_back(stored);
        });
    record.fieldCount = static_cast<std::uint32_t>(fields_.size()) - record.firstField;
    records_.push_back(record);
}

void PackedContacts::Builder::add(const Contact& contact) {
    Draft draft{contact.id().rawValue,
                contact.formattedName(),
                contact.givenName(),
                contact.familyName(),
                contact.organization(),
                contact.jobTitle(),
                {},
                contact.birthday()};
    draft.fields.reserve(contact.fields().size());
    for (const ContactField& field : contact.fields())
        draft.fields.push_back({field.id.rawValue, field.kind, field.label, field.value});
    add(draft);
}

PackedContacts PackedContacts::Builder::finish() {
    PackedContacts packed;
    packed.count_ = static_cast<std::uint32_t>(records_.size());
    packed.fieldCount_ = static_cast<std::uint32_t>(fields_.size());
    const std::size_t recordBytes = records_.size() * sizeof(Record);
    const std::size_t fieldBytes = fields_.size() * sizeof(FieldRecord);
    packed.blockSize_ = recordBytes + fieldBytes + bytes_.size();
    packed.block_ = std::make_unique_for_overwrite<char[]>(packed.blockSize_);
    if (recordBytes > 0)
        std::memcpy(packed.block_.get(), records_.data(), recordBytes);
    if (fieldBytes > 0)
        std::memcpy(packed.block_.get() + recordBytes, fields_.data(), fieldBytes);
    if (!bytes_.empty())
        std::memcpy(packed.block_.get() + recordBytes + fieldBytes, bytes_.data(), bytes_.size());
    // Emptied, its room kept for the next block.
    records_.clear();
    fields_.clear();
    bytes_.clear();
    labels_.clear();
    return packed;
}

PackedContacts::PackedContacts(const std::vector<Contact>& contacts) {
    Builder builder;
    for (const Contact& contact : contacts)
        builder.add(contact);
    *this = builder.finish();
}

ContactView PackedContacts::view(std::size_t position) const {
    const auto* records = reinterpret_cast<const Record*>(block_.get());
    const auto* fields = reinterpret_cast<const FieldRecord*>(block_.get() + count_ * sizeof(Record));
    const char* bytes = block_.get() + count_ * sizeof(Record) + fieldCount_ * sizeof(FieldRecord);
    return ContactView(records[position], fields, bytes);
}

} // namespace DialcoveCore
