#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace DialcoveCore {

// What can be done with a contact field, in the order a field offers them. The raw value is the case name.
enum class ContactAction { copy, whatsapp, message, call, email };

inline constexpr std::array<ContactAction, 5> allContactActions{ContactAction::copy, ContactAction::whatsapp,
                                                                ContactAction::message, ContactAction::call,
                                                                ContactAction::email};

std::string_view rawValue(ContactAction action);
// Only the exact case names give an action.
std::optional<ContactAction> contactActionFromRaw(std::string_view raw);

// Coded as the raw value, a JSON string; decodeContactAction gives no action for anything else
// instead of throwing, and nlohmann's own enum coding (as a number) is shut out.
template <typename Json> void to_json(Json& json, ContactAction action) {
    json = std::string(rawValue(action));
}
template <typename Json> void from_json(const Json& json, ContactAction& action) = delete;
std::optional<ContactAction> decodeContactAction(const nlohmann::json& json);

} // namespace DialcoveCore
