#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

namespace DialcoveCore {

// A set of shortcut modifiers over the 8-bit raw value that shortcuts store and sync: control 1,
// option 2, shift 4, command 8. The upper four bits mean nothing, and a shortcut holding any is invalid.
class ShortcutModifiers {
public:
    static const ShortcutModifiers control;
    static const ShortcutModifiers option;
    static const ShortcutModifiers shift;
    static const ShortcutModifiers command;

    constexpr ShortcutModifiers() = default;
    constexpr explicit ShortcutModifiers(std::uint8_t rawValue) : rawValue_(rawValue) {}
    constexpr ShortcutModifiers(std::initializer_list<ShortcutModifiers> members) {
        for (ShortcutModifiers member : members)
            rawValue_ |= member.rawValue_;
    }

    constexpr std::uint8_t rawValue() const { return rawValue_; }
    constexpr bool isEmpty() const { return rawValue_ == 0; }
    constexpr bool contains(ShortcutModifiers members) const {
        return (rawValue_ & members.rawValue_) == members.rawValue_;
    }
    constexpr bool isSubset(ShortcutModifiers of) const { return of.contains(*this); }
    constexpr bool isDisjoint(ShortcutModifiers with) const { return (rawValue_ & with.rawValue_) == 0; }

    friend constexpr ShortcutModifiers operator|(ShortcutModifiers a, ShortcutModifiers b) {
        return ShortcutModifiers(static_cast<std::uint8_t>(a.rawValue_ | b.rawValue_));
    }
    friend constexpr ShortcutModifiers operator&(ShortcutModifiers a, ShortcutModifiers b) {
        return ShortcutModifiers(static_cast<std::uint8_t>(a.rawValue_ & b.rawValue_));
    }
    friend constexpr ShortcutModifiers operator^(ShortcutModifiers a, ShortcutModifiers b) {
        return ShortcutModifiers(static_cast<std::uint8_t>(a.rawValue_ ^ b.rawValue_));
    }
    // Subtraction: the members of `a` that are not in `b`.
    friend constexpr ShortcutModifiers operator-(ShortcutModifiers a, ShortcutModifiers b) {
        return ShortcutModifiers(static_cast<std::uint8_t>(a.rawValue_ & ~b.rawValue_));
    }
    constexpr ShortcutModifiers& operator|=(ShortcutModifiers other) { return *this = *this | other; }
    constexpr ShortcutModifiers& operator&=(ShortcutModifiers other) { return *this = *this & other; }
    constexpr ShortcutModifiers& operator^=(ShortcutModifiers other) { return *this = *this ^ other; }
    constexpr ShortcutModifiers& operator-=(ShortcutModifiers other) { return *this = *this - other; }

    // True when some of `members` were not held yet.
    constexpr bool insert(ShortcutModifiers members) {
        const bool added = !contains(members);
        *this |= members;
        return added;
    }
    // True when some of `members` were held.
    constexpr bool remove(ShortcutModifiers members) {
        const bool removed = !isDisjoint(members);
        *this -= members;
        return removed;
    }
    // Inserts `members`; gives those that were already held, or none.
    constexpr std::optional<ShortcutModifiers> update(ShortcutModifiers members) {
        const ShortcutModifiers held = *this & members;
        *this |= members;
        return held.isEmpty() ? std::nullopt : std::optional(held);
    }

    friend constexpr bool operator==(ShortcutModifiers, ShortcutModifiers) = default;

private:
    std::uint8_t rawValue_ = 0;
};

inline constexpr ShortcutModifiers ShortcutModifiers::control{std::uint8_t{1}};
inline constexpr ShortcutModifiers ShortcutModifiers::option{std::uint8_t{2}};
inline constexpr ShortcutModifiers ShortcutModifiers::shift{std::uint8_t{4}};
inline constexpr ShortcutModifiers ShortcutModifiers::command{std::uint8_t{8}};

} // namespace DialcoveCore

template <> struct std::hash<DialcoveCore::ShortcutModifiers> {
    std::size_t operator()(DialcoveCore::ShortcutModifiers modifiers) const noexcept {
        return modifiers.rawValue();
    }
};
