#pragma once

#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PreferenceValue.hpp"
#include "DialcoveCore/Shortcut.hpp"

#include <type_traits>
#include <variant>

namespace DialcoveCore {

// The user's three contact settings. There is no default record: whoever builds one decides where
// each value comes from.
struct ContactPreferences {
    bool enabled;        // whether the global shortcut is active
    PhonePlan phonePlan; // the home-country plan for resolving numbers
    Shortcut shortcut;   // the global shortcut

    // Sets the one member `value` names; the other two stay.
    void apply(const PreferenceValue& value) {
        std::visit(
            [this](const auto& payload) {
                using T = std::decay_t<decltype(payload)>;
                if constexpr (std::is_same_v<T, bool>)
                    enabled = payload;
                else if constexpr (std::is_same_v<T, PhonePlan>)
                    phonePlan = payload;
                else
                    shortcut = payload;
            },
            value.payload());
    }

    friend bool operator==(const ContactPreferences&, const ContactPreferences&) = default;
};

} // namespace DialcoveCore
