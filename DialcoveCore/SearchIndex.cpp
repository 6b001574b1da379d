#include "DialcoveCore/SearchIndex.hpp"

#include "DialcoveCore/CharacterView.hpp"
#include "DialcoveCore/FuzzyMatching.hpp"
#include "DialcoveCore/PackedContacts.hpp"
#include "DialcoveCore/TextFolding.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unicode/uchar.h>
#include <unordered_set>

namespace DialcoveCore {

namespace {

constexpr int kPhoneScore = 5;
constexpr int kNoScore = 7;
constexpr std::size_t kPhoneQueryMinimumDigits = 3;

struct Span {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// A folded text and its character boundaries (none when every byte is a character).
struct Text {
    Span bytes;
    Span boundaries;
};

struct Word {
    Text text;
    Span base;
    Span soft;
    std::uint32_t baseHash;
    std::uint32_t softHash;
};

// Which byte values occur in a text, folded into 64 bits. A text can only contain a needle whose
// bytes all occur in it, so one AND rules out most substring and prefix tests before they run.
using ByteMask = std::uint64_t;

ByteMask byteMask(std::string_view text) {
    ByteMask mask = 0;
    for (unsigned char c : text)
        mask |= ByteMask{1} << (c & 63);
    return mask;
}

bool mayContain(ByteMask text, ByteMask needle) {
    return (needle & ~text) == 0;
}

struct Entry {
    ByteMask nameAndCompanyBytes;
    ByteMask emailBytes;
    Text name;
    Span nameWords; // into words
    Text company;
    Span combinedWords; // into texts
    Span emails;        // into texts
    Span phones;        // into phones
};

// A byte range [begin, end) of a folded text that is one search word.
struct Piece {
    std::size_t begin;
    std::size_t end;
};

char32_t firstCodePoint(std::string_view text) {
    std::size_t offset = 0;
    return text.empty() ? 0 : decodeUtf8(text, offset);
}

char32_t lastCodePoint(std::string_view text) {
    std::size_t start = text.size();
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    return start == 0 ? firstCodePoint(text) : firstCodePoint(text.substr(start - 1));
}

int graphemeBreak(char32_t c) {
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GRAPHEME_CLUSTER_BREAK);
}

// The words of a folded text, as splitWords finds them, read off boundaries already known.
std::vector<Piece> wordPieces(std::string_view text, const std::vector<std::uint32_t>& boundaries) {
    std::vector<Piece> pieces;
    std::size_t wordStart = 0;
    bool inWord = false;
    const std::size_t count = boundaries.empty() ? text.size() : boundaries.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = boundaries.empty() ? i : boundaries[i];
        const std::size_t end = boundaries.empty() ? i + 1 : boundaries[i + 1];
        const char32_t first = firstCodePoint(text.substr(begin, end - begin));
        const bool wordCharacter = first < 0x80
                                       ? ((first >= 'a' && first <= 'z') || (first >= '0' && first <= '9') ||
                                          (first >= 'A' && first <= 'Z'))
                                       : (isLetter(first) || isNumber(first));
        if (wordCharacter && !inWord)
            wordStart = begin;
        if (!wordCharacter && inWord)
            pieces.push_back({wordStart, begin});
        inWord = wordCharacter;
    }
    if (inWord)
        pieces.push_back({wordStart, text.size()});
    return pieces;
}

struct Query {
    std::string folded;
    ByteMask foldedBytes = 0;
    std::vector<ByteMask> wordBytes;
    // Name words hold only letters and numbers, so only a query made of one such word can be a
    // name word's prefix.
    bool isOneWord = false;
    std::vector<FuzzyWord> words;
    std::vector<FuzzyWordView> wordViews;
};

} // namespace

struct SearchIndex::Storage {
    std::string bytes;
    std::vector<std::uint32_t> boundaries;
    std::vector<Text> texts;
    std::vector<Word> words;
    std::vector<Span> phones;
    std::vector<Entry> entries;
    std::vector<Span> ids; // into bytes

    // Building

    Span addBytes(std::string_view text) {
        const Span span{static_cast<std::uint32_t>(bytes.size()), static_cast<std::uint32_t>(text.size())};
        bytes.append(text);
        return span;
    }

    Span addBoundaries(const std::vector<std::uint32_t>& source, std::size_t from, std::size_t to,
                       std::uint32_t shift) {
        const Span span{static_cast<std::uint32_t>(boundaries.size()), static_cast<std::uint32_t>(to - from)};
        for (std::size_t i = from; i < to; ++i)
            boundaries.push_back(source[i] - shift);
        return span;
    }

    Text addText(std::string_view text, const std::vector<std::uint32_t>& textBoundaries) {
        return {addBytes(text), addBoundaries(textBoundaries, 0, textBoundaries.size(), 0)};
    }

    // One word of a stored text: its bytes are the text's own, its boundaries rebased to its start.
    Text pieceOf(const Text& text, std::string_view bytesOfText,
                 const std::vector<std::uint32_t>& textBoundaries, const Piece& piece) {
        const Span bytesOfPiece{text.bytes.offset + static_cast<std::uint32_t>(piece.begin),
                                static_cast<std::uint32_t>(piece.end - piece.begin)};
        const std::string_view pieceText = bytesOfText.substr(piece.begin, piece.end - piece.begin);
        if (textBoundaries.empty() ||
            (isAscii(pieceText) && pieceText.find("\r\n") == std::string_view::npos))
            return {bytesOfPiece, {}};
        const auto first = std::lower_bound(textBoundaries.begin(), textBoundaries.end(), piece.begin);
        const auto last = std::upper_bound(textBoundaries.begin(), textBoundaries.end(), piece.end);
        return {bytesOfPiece,
                addBoundaries(textBoundaries, static_cast<std::size_t>(first - textBoundaries.begin()),
                              static_cast<std::size_t>(last - textBoundaries.begin()),
                              static_cast<std::uint32_t>(piece.begin))};
    }

    // A code equal to the word itself (no rule applied) shares the word's bytes.
    Span addCode(const std::string& code, std::string_view word, Span wordBytes) {
        return code == word ? wordBytes : addBytes(code);
    }

    Span addWords(const Text& text, std::string_view bytesOfText,
                  const std::vector<std::uint32_t>& textBoundaries) {
        const Span span{static_cast<std::uint32_t>(words.size()), 0};
        for (const Piece& piece : wordPieces(bytesOfText, textBoundaries)) {
            Word word{};
            word.text = pieceOf(text, bytesOfText, textBoundaries, piece);
            const std::string_view wordText = bytesOfText.substr(piece.begin, piece.end - piece.begin);
            const PhoneticCodes codes = phoneticCodes(wordText);
            word.base = addCode(codes.base, wordText, word.text.bytes);
            word.soft = codes.soft == codes.base ? word.base : addCode(codes.soft, wordText, word.text.bytes);
            word.baseHash = codeHash(codes.base);
            word.softHash = codeHash(codes.soft);
            words.push_back(word);
        }
        return {span.offset, static_cast<std::uint32_t>(words.size()) - span.offset};
    }

    void addPieces(const Text& text, std::string_view bytesOfText,
                   const std::vector<std::uint32_t>& textBoundaries) {
        for (const Piece& piece : wordPieces(bytesOfText, textBoundaries))
            texts.push_back(pieceOf(text, bytesOfText, textBoundaries, piece));
    }

    void addEntry(const ContactView& contact) {
        Entry entry;
        const std::string_view displayName = contact.displayName();
        const std::string foldedName = foldedForm(displayName);
        const auto nameBoundaries = characterBoundaries(foldedName);
        entry.nameAndCompanyBytes = byteMask(foldedName);
        entry.emailBytes = 0;
        entry.name = addText(foldedName, nameBoundaries);
        entry.nameWords = addWords(entry.name, foldedName, nameBoundaries);

        const std::string foldedCompany = foldedForm(contact.organization());
        const auto companyBoundaries = characterBoundaries(foldedCompany);
        entry.company = addText(foldedCompany, companyBoundaries);
        entry.nameAndCompanyBytes |= byteMask(foldedCompany);

        // The words of name and organization together. Folding and character breaks act on each
        // side of the joining space alone, unless a mark leans on the space or a prepended
        // character precedes it: only then is the joined text worked out whole.
        entry.combinedWords = {static_cast<std::uint32_t>(texts.size()), 0};
        if (foldedCompany.empty()) {
            for (std::uint32_t w = 0; w < entry.nameWords.length; ++w)
                texts.push_back(words[entry.nameWords.offset + w].text);
        } else {
            const char32_t companyStart = firstCodePoint(contact.organization());
            const bool joins = (U_GET_GC_MASK(static_cast<UChar32>(companyStart)) & U_GC_M_MASK) != 0 ||
                               graphemeBreak(lastCodePoint(foldedName)) == U_GCB_PREPEND ||
                               graphemeBreak(firstCodePoint(foldedCompany)) == U_GCB_EXTEND ||
                               graphemeBreak(firstCodePoint(foldedCompany)) == U_GCB_ZWJ ||
                               graphemeBreak(firstCodePoint(foldedCompany)) == U_GCB_SPACING_MARK;
            if (joins) {
                const std::string combined =
                    foldedForm(std::string(displayName) + " " + std::string(contact.organization()));
                const auto combinedBoundaries = characterBoundaries(combined);
                addPieces(addText(combined, {}), combined, combinedBoundaries);
            } else {
                for (std::uint32_t w = 0; w < entry.nameWords.length; ++w)
                    texts.push_back(words[entry.nameWords.offset + w].text);
                addPieces(entry.company, foldedCompany, companyBoundaries);
            }
        }
        entry.combinedWords.length = static_cast<std::uint32_t>(texts.size()) - entry.combinedWords.offset;

        entry.emails = {static_cast<std::uint32_t>(texts.size()), 0};
        entry.phones = {static_cast<std::uint32_t>(phones.size()), 0};
        for (std::size_t f = 0; f < contact.fieldCount(); ++f) {
            const ContactView::Field field = contact.field(f);
            if (field.kind == FieldKind::email) {
                const std::string folded = foldedForm(field.value);
                entry.emailBytes |= byteMask(folded);
                texts.push_back(addText(folded, characterBoundaries(folded)));
                ++entry.emails.length;
            } else {
                phones.push_back(addBytes(digits(field.value)));
                ++entry.phones.length;
            }
        }
        entries.push_back(entry);
        ids.push_back(addBytes(contact.id()));
    }

    // Growing left up to half of each array unused: give it back once everything is in.
    void shrink() {
        bytes.shrink_to_fit();
        boundaries.shrink_to_fit();
        texts.shrink_to_fit();
        words.shrink_to_fit();
        phones.shrink_to_fit();
        entries.shrink_to_fit();
        ids.shrink_to_fit();
    }

    std::size_t memoryUsage() const {
        return sizeof(*this) + bytes.capacity() + boundaries.capacity() * sizeof(std::uint32_t) +
               texts.capacity() * sizeof(Text) + words.capacity() * sizeof(Word) +
               phones.capacity() * sizeof(Span) + entries.capacity() * sizeof(Entry) +
               ids.capacity() * sizeof(Span);
    }

    // Reading

    std::string_view view(Span span) const {
        return std::string_view(bytes).substr(span.offset, span.length);
    }

    CharacterView view(const Text& text) const {
        return CharacterView(view(text.bytes),
                             std::span<const std::uint32_t>(boundaries.data() + text.boundaries.offset,
                                                            text.boundaries.length));
    }

    FuzzyWordView view(const Word& word) const {
        return {view(word.text), view(word.base), view(word.soft), word.baseHash, word.softHash};
    }

    // The entry's class for a text query, trying only classes better than `cutoff`.
    int textScore(const Entry& entry, const Query& query, int cutoff) const {
        const std::string_view q = query.folded;
        const bool inNameOrCompany = mayContain(entry.nameAndCompanyBytes, query.foldedBytes);
        const auto nameWordsOf = [&] {
            return std::span<const Word>(words.data() + entry.nameWords.offset, entry.nameWords.length);
        };
        const auto textsOf = [&](Span span) {
            return std::span<const Text>(texts.data() + span.offset, span.length);
        };

        if (cutoff > 0 && inNameOrCompany && view(entry.name).startsWith(q))
            return 0;
        if (cutoff > 1 && inNameOrCompany && query.isOneWord)
            for (const Word& word : nameWordsOf())
                if (view(word.text).startsWith(q))
                    return 1;
        if (cutoff > 2 && query.wordViews.size() >= 2 &&
            std::all_of(query.wordBytes.begin(), query.wordBytes.end(),
                        [&](ByteMask word) { return mayContain(entry.nameAndCompanyBytes, word); }) &&
            std::all_of(query.wordViews.begin(), query.wordViews.end(), [&](const FuzzyWordView& queryWord) {
                const auto combined = textsOf(entry.combinedWords);
                return std::any_of(combined.begin(), combined.end(), [&](const Text& word) {
                    return view(word).startsWith(queryWord.characters.text());
                });
            }))
            return 2;
        if (cutoff > 3 && inNameOrCompany &&
            (view(entry.name).contains(q) || view(entry.company).contains(q)))
            return 3;
        if (cutoff > 4 && mayContain(entry.emailBytes, query.foldedBytes))
            for (const Text& email : textsOf(entry.emails))
                if (view(email).contains(q))
                    return 4;
        if (cutoff > 6 && !query.wordViews.empty() &&
            std::all_of(query.wordViews.begin(), query.wordViews.end(), [&](const FuzzyWordView& queryWord) {
                const auto nameWords = nameWordsOf();
                return std::any_of(nameWords.begin(), nameWords.end(),
                                   [&](const Word& word) { return isFuzzyMatch(queryWord, view(word)); });
            }))
            return 6;
        return kNoScore;
    }

    bool matchesPhone(const Entry& entry, std::string_view queryDigits) const {
        for (std::uint32_t p = 0; p < entry.phones.length; ++p)
            if (view(phones[entry.phones.offset + p]).find(queryDigits) != std::string_view::npos)
                return true;
        return false;
    }
};

SearchIndex::SearchIndex(const std::vector<Contact>& contacts) : SearchIndex(PackedContacts(contacts)) {}

SearchIndex::SearchIndex(const ContactBook& book) {
    auto storage = std::make_unique<Storage>();
    std::unordered_set<std::string_view> seen;
    seen.reserve(book.size());
    storage->entries.reserve(book.size());
    storage->ids.reserve(book.size());
    for (std::size_t position = 0; position < book.size(); ++position) {
        const ContactView contact = book.view(position);
        if (seen.insert(contact.id()).second)
            storage->addEntry(contact);
    }
    storage->shrink();
    storage_ = std::move(storage);
}

SearchIndex::~SearchIndex() = default;
SearchIndex::SearchIndex(SearchIndex&&) noexcept = default;
SearchIndex& SearchIndex::operator=(SearchIndex&&) noexcept = default;

std::size_t SearchIndex::size() const {
    return storage_ ? storage_->entries.size() : 0;
}

std::size_t SearchIndex::memoryUsage() const {
    return storage_ ? storage_->memoryUsage() : 0;
}

std::vector<ContactID> SearchIndex::search(std::string_view rawQuery) const {
    if (!storage_)
        return {};
    Query query;
    query.folded = foldedForm(trimmedWhitespace(rawQuery));
    if (query.folded.empty())
        return {};

    const std::string queryDigits = digits(query.folded);
    const bool phoneMode = !queryDigits.empty() && !containsLetter(query.folded);
    if (phoneMode && queryDigits.size() < kPhoneQueryMinimumDigits)
        return {};
    if (!phoneMode) {
        query.foldedBytes = byteMask(query.folded);
        for (auto& word : splitWords(query.folded))
            query.words.emplace_back(std::move(word));
        for (const auto& word : query.words) {
            query.wordViews.push_back(word.view());
            query.wordBytes.push_back(byteMask(word.text()));
        }
        query.isOneWord = query.words.size() == 1 && query.words.front().text() == query.folded;
    }

    // The best hits so far, sorted by (score, position). Once it is full, an entry can only
    // enter with a better score than the worst kept, since a later position loses every tie, so
    // classes that cannot do better are not tried.
    struct Hit {
        int score;
        std::size_t position;
    };
    std::array<Hit, kResultLimit + 1> best{};
    std::size_t kept = 0;
    const auto& entries = storage_->entries;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        const int cutoff = kept == kResultLimit ? best[kept - 1].score : kNoScore;
        if (cutoff == 0)
            break;
        int score = kNoScore;
        if (phoneMode) {
            if (cutoff > kPhoneScore && storage_->matchesPhone(entries[position], queryDigits))
                score = kPhoneScore;
        } else {
            score = storage_->textScore(entries[position], query, cutoff);
        }
        if (score >= cutoff)
            continue;
        std::size_t slot = kept;
        while (slot > 0 && best[slot - 1].score > score) {
            best[slot] = best[slot - 1];
            --slot;
        }
        best[slot] = {score, position};
        kept = std::min(kept + 1, kResultLimit);
    }

    std::vector<ContactID> ids;
    ids.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i)
        ids.emplace_back(std::string(storage_->view(storage_->ids[best[i].position])));
    return ids;
}

} // namespace DialcoveCore
