#pragma once

#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PreferenceKey.hpp"
#include "DialcoveCore/Shortcut.hpp"

#include <variant>

namespace DialcoveCore {

// One contact setting with its value.
class PreferenceValue {
public:
    // The alternatives stand in PreferenceKey order.
    using Payload = std::variant<bool, PhonePlan, Shortcut>;

    static PreferenceValue enabled(bool on) { return PreferenceValue(Payload(std::in_place_index<0>, on)); }
    static PreferenceValue phonePlan(PhonePlan plan) {
        return PreferenceValue(Payload(std::in_place_index<1>, plan));
    }
    static PreferenceValue shortcut(Shortcut shortcut) {
        return PreferenceValue(Payload(std::in_place_index<2>, std::move(shortcut)));
    }

    PreferenceKey key() const { return static_cast<PreferenceKey>(payload_.index()); }
    const Payload& payload() const { return payload_; }

    friend bool operator==(const PreferenceValue&, const PreferenceValue&) = default;

private:
    explicit PreferenceValue(Payload payload) : payload_(std::move(payload)) {}

    Payload payload_;
};

} // namespace DialcoveCore
