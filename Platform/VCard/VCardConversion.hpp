#pragma once

#include "DialcoveCore/Birthday.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/PackedContacts.hpp"
#include "Platform/VCard/TextArena.hpp"
#include "Platform/VCard/VCard.hpp"
#include "Platform/VCard/VCardView.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Turning a read card into the contact value the rest of Dialcove sees.
namespace Platform {

// The properties the functions below read; a reader given these may leave out all others.
std::span<const std::string_view> contactProperties();

// True for a card that lists other cards (KIND:group, or X-ADDRESSBOOKSERVER-KIND:group);
// those are not contacts.
bool isGroupCard(const VCard& card);
bool isGroupCard(const VCardView& card);

// True for a card that stands for a company (KIND:org, or X-ABShowAs:COMPANY).
bool isCompanyCard(const VCard& card);
bool isCompanyCard(const VCardView& card);

// The identifier of the contact `card` stands for: its UID, or `fallbackID` when it has none.
std::string contactIDOf(const VCard& card, const std::string& fallbackID);
// The card's UID, empty when it has none.
std::string_view contactIDOf(const VCardView& card, TextArena& arena);

// The contact for `card`, none for a group card. The identifier is the card's UID, or
// `fallbackID` when it has none. The formatted name is FN when it is not blank, else the name
// composed from N, else the organization of a company card. Phones (TEL) and e-mail addresses
// (EMAIL) keep their file order; their identifiers come from their content (see fieldID). A
// field's label is its grouped X-ABLabel when there is one (a "_$!<Mobile>!$_" wrapper gives the
// known name), else one from its TYPE values ("mobile", "home fax"...), else "other".
std::optional<DialcoveCore::Contact> contactFromVCard(const VCard& card, const std::string& fallbackID);

// The same contact as the parts of a draft, with the identifier `id`; false for a group card.
// The draft's texts are views into the card's texts or into `arena`.
bool draftFromVCard(const VCardView& card, std::string_view id, DialcoveCore::PackedContacts::Draft& draft,
                    TextArena& arena);

// A BDAY value: "YYYY-MM-DD", "YYYYMMDD", "--MMDD" or "--MM-DD", any time part dropped. Anything
// else, or a date that does not exist, gives none.
std::optional<DialcoveCore::Birthday> birthdayFromVCard(std::string_view value);

// The identifier of a phone or e-mail field: the contact, the kind, a short hash of the value and
// how many earlier fields of the contact had the same kind and hash. An edit that keeps the value
// keeps the identifier; inserting another value does not move it.
std::string fieldID(std::string_view contactID, DialcoveCore::FieldKind kind, std::string_view value,
                    std::size_t occurrence);

} // namespace Platform
