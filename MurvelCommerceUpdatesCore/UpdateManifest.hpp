#pragma once

#include "MurvelCommerceUpdatesCore/AppVersion.hpp"
#include "MurvelCommerceUpdatesCore/UpdateFailure.hpp"

#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace MurvelCommerceUpdatesCore {

// The maker's list of the latest version of each of its apps, decoded from a JSON document such as
// {"format": 1, "apps": {"dialcove": "1.4.2"}}.
class UpdateManifest {
public:
    static constexpr std::size_t maximumBytes = 65536;
    static constexpr std::int64_t supportedFormat = 1;

    UpdateManifest() = default;
    explicit UpdateManifest(std::map<std::string, AppVersion> versions) : versions_(std::move(versions)) {}

    // The manifest in `bytes`, or why there is none: `unreadable` for more than `maximumBytes`
    // (checked before parsing), for text that is not JSON, or for a document without an integer
    // "format" or an object "apps"; `unknownFormat` for a "format" other than 1. An entry of "apps"
    // that is not a string, or whose text is not a version, is left out and spoils nothing else.
    static std::variant<UpdateManifest, UpdateFailure> decoded(std::string_view bytes);

    // The published version of each app whose entry was usable, by app identifier.
    const std::map<std::string, AppVersion>& versions() const { return versions_; }

    friend bool operator==(const UpdateManifest&, const UpdateManifest&) = default;

private:
    std::map<std::string, AppVersion> versions_;
};

} // namespace MurvelCommerceUpdatesCore
