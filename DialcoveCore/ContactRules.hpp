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

// Calls `keep(i)` for the fields a contact keeps, in the order it keeps them: the first non-blank
// field of each identifier (a blank one does not take up its identifier), every phone before
// every e-mail, their order kept otherwise. `idOf`, `kindOf` and `valueOf` read field `i`.
template <typename IdOf, typename KindOf, typename ValueOf, typename Keep>
void keptFields(std::size_t count, IdOf idOf, KindOf kindOf, ValueOf valueOf, Keep keep) {
    // A contact has a few fields: those are compared with each other; a card of hundreds is hashed.
    constexpr std::size_t kCompared = 16;
    bool few[kCompared] = {};
    std::vector<bool> many;
    std::unordered_set<std::string_view> seen;
    if (count > kCompared)
        many.assign(count, false);
    const auto isKept = [&](std::size_t i) { return count > kCompared ? bool(many[i]) : few[i]; };
    for (std::size_t i = 0; i < count; ++i) {
        if (isBlank(valueOf(i)))
            continue;
        if (count > kCompared) {
            if (seen.insert(idOf(i)).second)
                many[i] = true;
            continue;
        }
        bool repeated = false;
        for (std::size_t k = 0; k < i && !repeated; ++k)
            repeated = few[k] && idOf(k) == idOf(i);
        few[i] = !repeated;
    }
    for (const FieldKind kind : {FieldKind::phone, FieldKind::email})
        for (std::size_t i = 0; i < count; ++i)
            if (isKept(i) && kindOf(i) == kind)
                keep(i);
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
