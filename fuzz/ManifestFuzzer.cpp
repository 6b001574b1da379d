// Feeds arbitrary bytes to the update manifest decoder and to the version parser. Besides crashes
// and sanitizer reports it stops on a broken promise: a decoded version whose text does not parse
// back to itself, a component out of range, or a document over the size limit that decoded.
#include "MurvelCommerceUpdatesCore/UpdateManifest.hpp"
#include "fuzz/BrokenPromise.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using namespace MurvelCommerceUpdatesCore;

using Fuzz::require;

void checkVersion(const AppVersion& version) {
    require(!version.parts().empty() && version.parts().size() <= AppVersion::maximumParts, "1 to 4 parts");
    for (const std::int64_t part : version.parts())
        require(part >= 0 && part <= 999999, "parts within 0 to 999,999");
    const std::optional<AppVersion> again = AppVersion::parsed(version.description());
    require(again && *again == version && again->description() == version.description(), "text parses back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto decoded = UpdateManifest::decoded(bytes);
    if (const auto* manifest = std::get_if<UpdateManifest>(&decoded)) {
        require(size <= UpdateManifest::maximumBytes, "oversized bodies are refused");
        for (const auto& [app, version] : manifest->versions())
            checkVersion(version);
    }
    if (const std::optional<AppVersion> version = AppVersion::parsed(bytes)) {
        require(version->description() == bytes, "the text is kept");
        checkVersion(*version);
    }
    return 0;
}
