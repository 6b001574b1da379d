#pragma once

#include "DialcoveCore/Birthday.hpp"
#include "DialcoveCore/ContactField.hpp"
#include "DialcoveCore/ContactID.hpp"

#include <optional>
#include <string>
#include <vector>

namespace DialcoveCore {

// One person or company from the address book, read-only.
//
// Construction keeps the first non-blank field of each identifier, drops blank values and puts
// every phone before every e-mail, keeping their order otherwise. Values, names and labels are
// stored as given.
class Contact {
public:
    Contact(ContactID id, std::string formattedName, std::string givenName, std::string familyName,
            std::string organization, std::string jobTitle, std::vector<ContactField> fields,
            std::optional<Birthday> birthday = std::nullopt);

    const ContactID& id() const { return id_; }
    const std::string& formattedName() const { return formattedName_; }
    const std::string& givenName() const { return givenName_; }
    const std::string& familyName() const { return familyName_; }
    const std::string& organization() const { return organization_; }
    const std::string& jobTitle() const { return jobTitle_; }
    const std::vector<ContactField>& fields() const { return fields_; }
    const std::optional<Birthday>& birthday() const { return birthday_; }

    // The formatted name, else the organization, else the first field value that is not blank, untrimmed.
    std::string displayName() const;
    // Up to two upper-cased first characters: of the given and family names, else of the first two
    // words of the display name.
    std::string initials() const;
    // Organization and job title joined by " · ", each left out when blank or when it folds to
    // something already shown.
    std::string subtitle() const;

    std::optional<ContactField> field(const FieldID& id) const;

    friend bool operator==(const Contact&, const Contact&) = default;

private:
    ContactID id_;
    std::string formattedName_;
    std::string givenName_;
    std::string familyName_;
    std::string organization_;
    std::string jobTitle_;
    std::vector<ContactField> fields_;
    std::optional<Birthday> birthday_;
};

} // namespace DialcoveCore
