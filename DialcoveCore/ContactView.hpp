#pragma once

#include "DialcoveCore/Birthday.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/FieldKind.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace DialcoveCore {

// One contact of a packed list (PackedContacts), read in place: its texts are views into the
// list's one block of bytes, valid while the list lives. `contact()` makes the value.
class ContactView {
public:
    // A text of the block: where it starts and how long it is.
    struct Text {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // One field as the block holds it. Its identifier is stored without the contact's identifier
    // when it begins with it, as the address book's field identifiers do.
    struct FieldRecord {
        Text id;
        Text label;
        Text value;
        std::uint8_t kind = 0; // a FieldKind
        bool idFollowsContactID = false;
    };
    struct Record {
        Text id;
        Text formattedName;
        Text givenName;
        Text familyName;
        Text organization;
        Text jobTitle;
        std::uint32_t firstField = 0;
        std::uint32_t fieldCount = 0;
        std::int32_t birthdayYear = 0;
        std::uint8_t birthdayDay = 0; // 0: no birthday
        std::uint8_t birthdayMonth = 0;
        bool birthdayHasYear = false;
    };
    struct Field {
        FieldKind kind;
        std::string_view label;
        std::string_view value;
    };

    ContactView(const Record& record, const FieldRecord* fields, const char* bytes)
        : record_(&record), fields_(fields), bytes_(bytes) {}

    std::string_view id() const { return text(record_->id); }
    std::string_view formattedName() const { return text(record_->formattedName); }
    std::string_view givenName() const { return text(record_->givenName); }
    std::string_view familyName() const { return text(record_->familyName); }
    std::string_view organization() const { return text(record_->organization); }
    std::string_view jobTitle() const { return text(record_->jobTitle); }
    std::size_t fieldCount() const { return record_->fieldCount; }
    Field field(std::size_t i) const {
        const FieldRecord& field = fields_[record_->firstField + i];
        return {static_cast<FieldKind>(field.kind), text(field.label), text(field.value)};
    }
    std::string fieldID(std::size_t i) const;
    std::optional<Birthday> birthday() const;

    // As Contact::displayName.
    std::string_view displayName() const;

    Contact contact() const;

private:
    std::string_view text(Text text) const { return std::string_view(bytes_ + text.offset, text.length); }

    const Record* record_;
    const FieldRecord* fields_;
    const char* bytes_;
};

} // namespace DialcoveCore
