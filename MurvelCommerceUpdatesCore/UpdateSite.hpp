#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace MurvelCommerceUpdatesCore {

// The maker's web site, which serves the version manifest and the downloads: "https://" and a
// host name with an optional port, nothing more. The build sets it (DIALCOVE_UPDATE_SITE, by
// default a reserved name that never resolves, so a default build offers nothing); the variable of
// the same name in the environment overrides it.
struct UpdateSite {
    static constexpr const char* environmentVariable = "DIALCOVE_UPDATE_SITE";

    UpdateSite() = delete;

    // "https://", dot-separated labels of ASCII letters, digits and inner hyphens, then an optional
    // ":" and port 1 to 65535. No user, path, query, fragment or trailing dot. The build applies
    // the same rule when it is configured.
    static bool isValid(std::string_view site);

    // A host under a name reserved never to resolve ("example", "invalid", "test"), as the
    // default build's: a check there always fails and says nothing worth a user's attention.
    static bool isReserved(std::string_view site);

    // The site the build was configured with.
    static std::string builtIn();

    struct Choice {
        std::string site;
        // The environment's value when it was set but refused; the built-in site is used then.
        std::optional<std::string> refusedOverride;
    };
    // The environment's site when it is set and valid, else the built-in one. Read on each call.
    static Choice current();

    // site + "/downloads/versions.json"
    static std::string manifestAddress(std::string_view site);
    // site + "/downloads/" + app + "-latest.tar.gz"
    static std::string downloadLink(std::string_view site, std::string_view app);
    // site + "/downloads/"
    static std::string downloadsPage(std::string_view site);
};

} // namespace MurvelCommerceUpdatesCore
