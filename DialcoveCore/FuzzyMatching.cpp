#include "DialcoveCore/FuzzyMatching.hpp"

#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <utility>

namespace DialcoveCore {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t found = text.find(from);
    if (found == std::string::npos)
        return;
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (; found != std::string::npos; found = text.find(from, start)) {
        out.append(text, start, found - start);
        out.append(to);
        start = found + from.size();
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

// "c" becomes "k", then runs of equal neighbouring characters collapse to one.
std::string finishedCode(std::string code) {
    std::replace(code.begin(), code.end(), 'c', 'k');
    if (isAscii(code)) {
        // Every byte a character of its own: a word holds no CR LF.
        code.erase(std::unique(code.begin(), code.end()), code.end());
        return code;
    }
    const auto boundaries = characterBoundaries(code);
    const CharacterView characters(code, boundaries);
    std::string out;
    out.reserve(code.size());
    std::string_view previous;
    for (std::size_t i = 0; i < characters.characterCount(); ++i) {
        const std::string_view character = characters.character(i);
        if (i > 0 && character == previous)
            continue;
        out.append(character);
        previous = character;
    }
    return out;
}

} // namespace

PhoneticCodes phoneticCodes(std::string_view foldedWord) {
    static constexpr std::pair<std::string_view, std::string_view> kBaseRules[] = {
        {"th", "t"}, {"ph", "f"}, {"ch", "x"}, {"sh", "x"}, {"ck", "k"}, {"qu", "k"}, {"y", "i"}, {"w", "v"},
    };
    // ASCII patterns never match inside a multi-byte UTF-8 sequence, so bytes can be replaced
    // directly. Applying the rules one after another over the whole word gives what one walk
    // gives that tries them in order at each place: no rule's pattern ends where an earlier
    // rule's begins, and no replacement makes a pattern of a later rule.
    std::string base;
    base.reserve(foldedWord.size());
    for (std::size_t i = 0; i < foldedWord.size();) {
        bool replaced = false;
        for (const auto& [from, to] : kBaseRules)
            if (foldedWord.substr(i, from.size()) == from) {
                base.append(to);
                i += from.size();
                replaced = true;
                break;
            }
        if (!replaced)
            base.push_back(foldedWord[i++]);
    }
    std::string soft = base;
    replaceAll(soft, "ce", "se");
    replaceAll(soft, "ci", "si");
    return {finishedCode(std::move(base)), finishedCode(std::move(soft))};
}

std::uint32_t codeHash(std::string_view code) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : code)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

FuzzyWord::FuzzyWord(std::string folded)
    : text_(std::move(folded)), boundaries_(characterBoundaries(text_)), codes_(phoneticCodes(text_)) {}

bool isFuzzyMatch(const FuzzyWordView& query, const FuzzyWordView& name) {
    if (name.characters.startsWith(query.characters.text()))
        return true;

    const std::size_t queryLength = query.characters.characterCount();
    const std::size_t nameLength = name.characters.characterCount();
    if (queryLength > 2 && query.soundsLike(name))
        return true;
    if (queryLength <= 5 || nameLength <= 5)
        return false;
    if ((queryLength > nameLength ? queryLength - nameLength : nameLength - queryLength) > 1)
        return false;

    // One walk from the start with one edit allowed: a replacement or neighbour swap (equal
    // lengths), or one character left out of the longer word.
    const auto q = [&](std::size_t i) { return query.characters.character(i); };
    const auto n = [&](std::size_t i) { return name.characters.character(i); };
    std::size_t qi = 0;
    std::size_t ni = 0;
    std::size_t edits = 0;
    while (qi < queryLength && ni < nameLength) {
        if (q(qi) == n(ni)) {
            ++qi;
            ++ni;
            continue;
        }
        if (edits > 0)
            return false;
        edits = 1;
        if (queryLength == nameLength && qi + 1 < queryLength && ni + 1 < nameLength && q(qi) == n(ni + 1) &&
            q(qi + 1) == n(ni)) {
            qi += 2;
            ni += 2;
        } else if (queryLength > nameLength) {
            if (qi + 1 >= queryLength)
                break;
            if (q(qi + 1) != n(ni))
                return false;
            qi += 2;
            ni += 1;
        } else if (nameLength > queryLength) {
            ni += 1;
        } else {
            ++qi;
            ++ni;
        }
    }
    return edits + (queryLength - qi) + (nameLength - ni) < 2;
}

} // namespace DialcoveCore
