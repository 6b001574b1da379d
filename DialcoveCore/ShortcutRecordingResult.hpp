#pragma once

#include "DialcoveCore/Shortcut.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace DialcoveCore {

// What one key press does while a new shortcut is being recorded.
class ShortcutRecordingResult {
public:
    enum class Kind { accepted, ignored, cancelled, invalid };

    static ShortcutRecordingResult accepted(Shortcut shortcut) {
        return {Kind::accepted, std::move(shortcut)};
    }
    static ShortcutRecordingResult ignored() { return {Kind::ignored}; }
    static ShortcutRecordingResult cancelled() { return {Kind::cancelled}; }
    static ShortcutRecordingResult invalid() { return {Kind::invalid}; }

    // Not recording: ignored. Delete or Forward Delete, with any modifiers: the default shortcut,
    // which is how the user restores it. Escape: cancelled. Otherwise the shortcut make() builds from
    // the key press, or invalid when it refuses.
    static ShortcutRecordingResult forKeyPress(std::uint32_t keyCode, ShortcutModifiers modifiers,
                                               std::string_view keyLabel, bool recording);

    Kind kind() const { return kind_; }
    // Present exactly when accepted.
    const std::optional<Shortcut>& shortcut() const { return shortcut_; }

    friend bool operator==(const ShortcutRecordingResult&, const ShortcutRecordingResult&) = default;

private:
    ShortcutRecordingResult(Kind kind, std::optional<Shortcut> shortcut = std::nullopt)
        : kind_(kind), shortcut_(std::move(shortcut)) {}

    Kind kind_;
    std::optional<Shortcut> shortcut_;
};

} // namespace DialcoveCore
