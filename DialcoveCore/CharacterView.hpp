#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// A folded text seen as user-perceived characters, with the character boundaries worked out once
// in advance, so matching compares whole characters without running a break iterator again.
class CharacterView {
public:
    CharacterView() = default;
    // `boundaries` holds 0, every boundary and text.size(); empty means every byte is a character.
    CharacterView(std::string_view text, std::span<const std::uint32_t> boundaries)
        : text_(text), boundaries_(boundaries) {}

    std::string_view text() const { return text_; }
    std::size_t characterCount() const { return boundaries_.empty() ? text_.size() : boundaries_.size() - 1; }
    std::string_view character(std::size_t i) const {
        if (boundaries_.empty())
            return text_.substr(i, 1);
        return text_.substr(boundaries_[i], boundaries_[i + 1] - boundaries_[i]);
    }
    bool isBoundary(std::size_t offset) const;

    // The text starts with `prefix`, ending on a character boundary.
    bool startsWith(std::string_view prefix) const {
        // The first-byte test spares a library call for the many texts that differ at once.
        if (prefix.empty())
            return true;
        if (prefix.size() > text_.size() || prefix[0] != text_[0])
            return false;
        return text_.starts_with(prefix) && isBoundary(prefix.size());
    }
    // The text holds `needle` starting and ending on character boundaries.
    bool contains(std::string_view needle) const;

private:
    std::string_view text_;
    std::span<const std::uint32_t> boundaries_;
};

// Boundaries for CharacterView: empty when every byte is a character of its own (ASCII without CR LF).
std::vector<std::uint32_t> characterBoundaries(std::string_view text);

} // namespace DialcoveCore
