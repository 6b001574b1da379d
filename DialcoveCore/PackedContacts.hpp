#pragma once

#include "DialcoveCore/ContactBook.hpp"
#include "DialcoveCore/ContactView.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// Contacts packed into one block: a record per contact, a record per field and every text in one
// run of bytes (field labels stored once per block, field identifiers without the contact's
// identifier they begin with). A few hundred bytes a contact instead of a dozen strings, and one
// allocation for the lot. Built by a Builder, then immutable.
class PackedContacts final : public ContactBook {
public:
    // One contact as a reader has its parts, before the rules of Contact apply: the views need
    // only outlive the call to Builder::add.
    struct Draft {
        struct Field {
            std::string_view id;
            FieldKind kind = FieldKind::phone;
            std::string_view label;
            std::string_view value;
        };
        std::string_view id;
        std::string_view formattedName;
        std::string_view givenName;
        std::string_view familyName;
        std::string_view organization;
        std::string_view jobTitle;
        std::vector<Field> fields;
        std::optional<Birthday> birthday;
    };

    class Builder {
    public:
        // Keeps the fields a Contact of these parts would keep, in its order.
        void add(const Draft& draft);
        void add(const Contact& contact);
        std::size_t size() const { return records_.size(); }
        // The block; the builder is empty again, keeping its room for the next.
        PackedContacts finish();

    private:
        ContactView::Text addText(std::string_view text);
        ContactView::Text addLabel(std::string_view label);

        std::vector<ContactView::Record> records_;
        std::vector<ContactView::FieldRecord> fields_;
        std::string bytes_;
        std::vector<ContactView::Text> labels_; // into bytes_
    };

    PackedContacts() = default;
    explicit PackedContacts(const std::vector<Contact>& contacts);

    std::size_t size() const override { return count_; }
    ContactView view(std::size_t position) const override;

    // The bytes its block takes.
    std::size_t blockSize() const { return blockSize_; }

private:
    std::unique_ptr<char[]> block_;
    std::size_t blockSize_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t fieldCount_ = 0;
};

} // namespace DialcoveCore
