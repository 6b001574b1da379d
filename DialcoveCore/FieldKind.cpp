#include "DialcoveCore/FieldKind.hpp"

#include <nlohmann/json.hpp>

namespace DialcoveCore {

std::string_view rawValue(FieldKind kind) {
    switch (kind) {
    case FieldKind::phone:
        return "phone";
    case FieldKind::email:
        return "email";
    }
    return "phone";
}

std::optional<FieldKind> fieldKindFromRaw(std::string_view raw) {
    if (raw == "phone")
        return FieldKind::phone;
    if (raw == "email")
        return FieldKind::email;
    return std::nullopt;
}

void to_json(nlohmann::json& json, FieldKind kind) {
    json = std::string(rawValue(kind));
}

void from_json(const nlohmann::json& json, FieldKind& kind) {
    const auto parsed =
        json.is_string() ? fieldKindFromRaw(json.get_ref<const std::string&>()) : std::nullopt;
    if (!parsed)
        throw nlohmann::json::type_error::create(302, "not a field kind", &json);
    kind = *parsed;
}

} // namespace DialcoveCore
