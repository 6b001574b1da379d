// Feeds arbitrary bytes to the vCard reader and the conversion to contacts. Besides crashes and
// sanitizer reports it stops on a broken promise of the reader: text that is not valid UTF-8,
// positions out of file order, two fields of one contact with one identifier, or a contact that
// changes when the reader passes over the properties the conversion does not read and packs it,
// as the address book does.
#include "Platform/VCard/VCardConversion.hpp"
#include "Platform/VCard/VCardReading.hpp"
#include "fuzz/BrokenPromise.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <unicode/utf8.h>
#include <vector>

namespace {

using Fuzz::require;

// Checked with ICU's decoder, not the reader's own.
bool isValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

void checkText(std::string_view text, const char* what) {
    require(isValidUtf8(text), what);
}

void checkContact(const DialcoveCore::Contact& contact) {
    checkText(contact.id().rawValue, "contact id");
    checkText(contact.formattedName(), "formatted name");
    checkText(contact.givenName(), "given name");
    checkText(contact.familyName(), "family name");
    checkText(contact.organization(), "organization");
    checkText(contact.jobTitle(), "job title");
    std::set<std::string> ids;
    for (const auto& field : contact.fields()) {
        checkText(field.id.rawValue, "field id");
        checkText(field.label, "label");
        checkText(field.value, "field value");
        require(!field.label.empty(), "every field has a label");
        require(ids.insert(field.id.rawValue).second, "field ids are unique");
    }
    // The display helpers run over whatever the reader produced.
    checkText(contact.displayName(), "display name");
    checkText(contact.initials(), "initials");
    checkText(contact.subtitle(), "subtitle");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lastPosition = 0;
    std::size_t lastProblem = 0;
    std::vector<std::optional<DialcoveCore::Contact>> converted;
    Platform::readVCards(
        bytes,
        [&](Platform::VCard&& card) {
            require(card.position > lastPosition, "positions grow");
            lastPosition = card.position;
            checkText(card.version, "version");
            for (const auto& property : card.properties) {
                checkText(property.group, "group");
                checkText(property.name, "name");
                checkText(property.value, "value");
                for (const auto& parameter : property.parameters) {
                    checkText(parameter.name, "parameter name");
                    checkText(parameter.value, "parameter value");
                }
            }
            auto contact = Platform::contactFromVCard(card, "fuzz#" + std::to_string(card.position));
            if (contact)
                checkContact(*contact);
            converted.push_back(std::move(contact));
            return true;
        },
        [&](std::size_t position, std::string_view problem) {
            require(position >= lastPosition && position >= lastProblem, "problems come in file order");
            lastProblem = position;
            checkText(problem, "problem");
        });

    // As the address book reads: in place, passing over what the conversion does not read, into
    // packed contacts. Each must equal the contact of the full reading.
    std::size_t card = 0;
    DialcoveCore::PackedContacts::Builder builder;
    DialcoveCore::PackedContacts::Draft draft;
    Platform::TextArena arena;
    std::vector<bool> kept;
    Platform::readVCardViews(
        bytes,
        [&](const Platform::VCardView& view) {
            require(card < converted.size(), "the same cards either way");
            arena.clear();
            const std::string fallback = "fuzz#" + std::to_string(view.position);
            std::string_view id = Platform::contactIDOf(view, arena);
            if (id.empty())
                id = fallback;
            const bool isContact = Platform::draftFromVCard(view, id, draft, arena);
            require(isContact == converted[card].has_value(), "group cards either way");
            if (isContact)
                builder.add(draft);
            kept.push_back(isContact);
            ++card;
            return true;
        },
        {}, Platform::contactProperties());
    require(card == converted.size(), "the same cards either way");
    const DialcoveCore::PackedContacts packed = builder.finish();
    std::size_t position = 0;
    for (std::size_t i = 0; i < converted.size(); ++i)
        if (kept[i])
            require(packed.contact(position++) == *converted[i],
                    "the packed contact equals the full reading's");
    return 0;
}
