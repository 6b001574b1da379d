#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string_view>

namespace DialcoveCore {

enum class FieldKind { phone, email };

std::string_view rawValue(FieldKind kind);
// Any text other than "phone" or "email" gives no kind.
std::optional<FieldKind> fieldKindFromRaw(std::string_view raw);

void to_json(nlohmann::json& json, FieldKind kind);
// Throws nlohmann::json::exception for a value that is not a known kind, like any other decoding failure.
void from_json(const nlohmann::json& json, FieldKind& kind);

} // namespace DialcoveCore
