#pragma once

#include "DialcoveCore/CharacterView.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace DialcoveCore {

// The phonetic codes of a folded word: one or two spellings that sound alike ("philip" and
// "filip" share "filip"; "katerine" and "catherine" share "katerine").
struct PhoneticCodes {
    std::string base;
    std::string soft;
};

PhoneticCodes phoneticCodes(std::string_view foldedWord);

// A short hash of a phonetic code, compared before the code itself.
std::uint32_t codeHash(std::string_view code);

// A folded word with its characters and phonetic codes, as fuzzy matching reads it.
struct FuzzyWordView {
    CharacterView characters;
    std::string_view base;
    std::string_view soft;
    std::uint32_t baseHash = 0;
    std::uint32_t softHash = 0;

    bool soundsLike(const FuzzyWordView& other) const {
        return (baseHash == other.baseHash && base == other.base) ||
               (baseHash == other.softHash && base == other.soft) ||
               (softHash == other.baseHash && soft == other.base) ||
               (softHash == other.softHash && soft == other.soft);
    }
};

// A word that owns what its view shows; used for query words.
class FuzzyWord {
public:
    explicit FuzzyWord(std::string folded);
    FuzzyWord(const FuzzyWord&) = delete;
    FuzzyWord& operator=(const FuzzyWord&) = delete;
    FuzzyWord(FuzzyWord&&) = default;

    const std::string& text() const { return text_; }
    FuzzyWordView view() const {
        return {CharacterView(text_, boundaries_), codes_.base, codes_.soft, codeHash(codes_.base),
                codeHash(codes_.soft)};
    }

private:
    std::string text_;
    std::vector<std::uint32_t> boundaries_;
    PhoneticCodes codes_;
};

// Whether a query word matches a name word loosely: the name word starts with it, they sound
// alike (query words of three or more characters), or, for words longer than five characters,
// one replacement, neighbour swap, insertion or deletion turns one into the other.
bool isFuzzyMatch(const FuzzyWordView& query, const FuzzyWordView& name);

} // namespace DialcoveCore
