#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"

#include <cstdlib>

#ifndef DIALCOVE_UPDATE_SITE
#error "DIALCOVE_UPDATE_SITE names the maker's site; the build defines it"
#endif

namespace MurvelCommerceUpdatesCore {

namespace {

bool isAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isLabel(std::string_view label) {
    if (label.empty() || !isAsciiAlphanumeric(label.front()) || !isAsciiAlphanumeric(label.back()))
        return false;
    for (const char c : label) {
        if (!isAsciiAlphanumeric(c) && c != '-')
            return false;
    }
    return true;
}

bool isPort(std::string_view port) {
    if (port.empty() || port.size() > 5)
        return false;
    long value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535;
}

} // namespace

bool UpdateSite::isValid(std::string_view site) {
    constexpr std::string_view scheme = "https://";
    if (site.substr(0, scheme.size()) != scheme)
        return false;
    std::string_view host = site.substr(scheme.size());
    if (const std::size_t colon = host.find(':'); colon != std::string_view::npos) {
        if (!isPort(host.substr(colon + 1)))
            return false;
        host = host.substr(0, colon);
    }
    while (true) {
        const std::size_t dot = host.find('.');
        if (!isLabel(host.substr(0, dot)))
            return false;
        if (dot == std::string_view::npos)
            return true;
        host = host.substr(dot + 1);
    }
}

bool UpdateSite::isReserved(std::string_view site) {
    if (!isValid(site))
        return false;
    std::string_view host = site.substr(std::string_view("https://").size());
    host = host.substr(0, host.find(':'));
    const std::string_view last =
        host.substr(host.rfind('.') == std::string_view::npos ? 0 : host.rfind('.') + 1);
    std::string lower(last);
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "example" || lower == "invalid" || lower == "test";
}

std::string UpdateSite::builtIn() {
    return DIALCOVE_UPDATE_SITE;
}

UpdateSite::Choice UpdateSite::current() {
    const char* override = std::getenv(environmentVariable);
    if (!override)
        return {builtIn(), std::nullopt};
    if (!isValid(override))
        return {builtIn(), std::string(override)};
    return {override, std::nullopt};
}

std::string UpdateSite::manifestAddress(std::string_view site) {
    return std::string(site) + "/downloads/versions.json";
}

std::string UpdateSite::downloadLink(std::string_view site, std::string_view app) {
    return std::string(site) + "/downloads/" + std::string(app) + "-latest.tar.gz";
}

std::string UpdateSite::downloadsPage(std::string_view site) {
    return std::string(site) + "/downloads/";
}

} // namespace MurvelCommerceUpdatesCore
