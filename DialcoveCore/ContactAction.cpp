#include "DialcoveCore/ContactAction.hpp"

#include "DialcoveCore/RawValue.hpp"

#include <nlohmann/json.hpp>

namespace DialcoveCore {

namespace {

constexpr std::string_view names[] = {"copy", "whatsapp", "message", "call", "email"};

} // namespace

std::string_view rawValue(ContactAction action) {
    return names[static_cast<std::size_t>(action)];
}

std::optional<ContactAction> contactActionFromRaw(std::string_view raw) {
    return caseWithRawValue(allContactActions, raw);
}

std::optional<ContactAction> decodeContactAction(const nlohmann::json& json) {
    if (!json.is_string())
        return std::nullopt;
    return contactActionFromRaw(json.get_ref<const std::string&>());
}

} // namespace DialcoveCore
