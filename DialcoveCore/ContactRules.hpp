#pragma once

#include "DialcoveCore/FieldKind.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <unordered_set>
#include <vector>

// The rules every contact value keeps, shared by Contact and its packed form, so both agree.
namespace DialcoveCore::ContactRules {

// The positions of the fields a contact keeps, in the order it keeps them: the first non-blank
// field of each identifier (a blank one does not take up its identifier), every phone before
// every e-mail, their order kept otherwise. `idOf`, `kindOf` and `valueOf` read field `i`.
template <typename IdOf, typename KindOf, typename ValueOf>
std::vector<std::size_t> keptFields(std::size_t count, IdOf idOf, KindOf kindOf, ValueOf valueOf) {
    std::vector<std::size_t> kept;
    kept.reserve(count);
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < count; ++i) {
        if (isBlank(valueOf(i)))
            continue;
        if (!seen.insert(idOf(i)).second)
            continue;
        kept.push_back(i);
    }
    std::stable_partition(kept.begin(), kept.end(),
                          [&](std::size_t i) { return kindOf(i) == FieldKind::phone; });
    return kept;
}

// The formatted name, else the organization, else the first field value that is not blank,
// untrimmed; empty when none is. `valueOf` reads field `i` of `count`.
template <typename ValueOf>
std::string_view displayName(std::string_view formattedName, std::string_view organization, std::size_t count,
                             ValueOf valueOf) {
    if (!isBlank(formattedName))
        return formattedName;
    if (!isBlank(organization))
        return organization;
    for (std::size_t i = 0; i < count; ++i)
        if (!isBlank(valueOf(i)))
            return valueOf(i);
    return {};
}

} // namespace DialcoveCore::ContactRules
