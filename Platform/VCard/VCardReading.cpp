#include "Platform/VCard/VCardReading.hpp"

#include "Platform/VCard/VCardText.hpp"
#include "Platform/VCard/VCardView.hpp"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

namespace {

using ProblemSink = std::function<void(std::size_t, std::string_view)>;

// Splits text into physical lines at CRLF, LF or a lone CR. CRs just before a line feed are
// part of that line end ("\r\r\n", as some phones write folded photos), not empty lines.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (position_ >= text_.size())
            return false;
        const std::size_t feed = nextOf('\n', feed_);
        const std::size_t ret = nextOf('\r', return_);
        if (ret >= feed) {
            line = text_.substr(position_, feed - position_);
            position_ = feed + 1;
            return true;
        }
        line = text_.substr(position_, ret - position_);
        std::size_t after = ret;
        while (after < text_.size() && text_[after] == '\r')
            ++after;
        // A run of CRs up to a line feed ends one line; a CR before anything else ends a line alone.
        position_ = after < text_.size() && text_[after] == '\n' ? after + 1 : ret + 1;
        return true;
    }

private:
    // Where the next `c` at or after the current position is (the text's size when there is
    // none), remembered in `found` so that no byte is searched twice.
    std::size_t nextOf(char c, std::size_t& found) {
        if (found < position_ || found == kUnknown) {
            const void* at = std::memchr(text_.data() + position_, c, text_.size() - position_);
            found = at ? static_cast<std::size_t>(static_cast<const char*>(at) - text_.data()) : text_.size();
        }
        return found;
    }

    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t feed_ = kUnknown;
    std::size_t return_ = kUnknown;
};

bool isFoldSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmedSpaces(std::string_view text) {
    while (!text.empty() && isFoldSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isFoldSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool isBeginLine(std::string_view line) {
    return equalsIgnoringCase(trimmedSpaces(line), "BEGIN:VCARD");
}
bool isEndLine(std::string_view line) {
    return equalsIgnoringCase(trimmedSpaces(line), "END:VCARD");
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// The position of the first `stop` character outside double quotes, or npos.
std::size_t findUnquoted(std::string_view text, std::size_t from, std::string_view stops) {
    bool quoted = false;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && std::find(stops.begin(), stops.end(), c) != stops.end())
            return i;
    }
    return std::string_view::npos;
}

// The first ';' or ':' of a line, or npos.
std::size_t headEnd(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == ';' || line[i] == ':')
            return i;
    return std::string_view::npos;
}

bool isEncodingName(std::string_view value) {
    for (std::string_view name : {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT", "B"})
        if (equalsIgnoringCase(value, name))
            return true;
    return false;
}

// What one card is read into, kept from card to card so its arrays keep their room.
struct CardScratch {
    std::vector<VCardView::Property> properties;
    std::vector<VCardView::Parameter> parameters;
    std::vector<std::pair<std::size_t, std::size_t>> parameterRanges; // per property: first, count
    TextArena arena;

    void clear() {
        properties.clear();
        parameters.clear();
        parameterRanges.clear();
        arena.clear();
    }

    std::span<const VCardView::Parameter> parametersFrom(std::size_t first) const {
        return std::span<const VCardView::Parameter>(parameters.data() + first, parameters.size() - first);
    }
};

std::optional<std::string_view> parameterIn(std::span<const VCardView::Parameter> parameters,
                                            std::string_view name) {
    for (const VCardView::Parameter& parameter : parameters)
        if (equalsIgnoringCase(parameter.name, name))
            return parameter.value;
    return std::nullopt;
}

bool isQuotedPrintable(std::span<const VCardView::Parameter> parameters) {
    const auto encoding = parameterIn(parameters, "ENCODING");
    return encoding &&
           (equalsIgnoringCase(*encoding, "QUOTED-PRINTABLE") || equalsIgnoringCase(*encoding, "Q"));
}

void addParameter(CardScratch& card, std::string_view text) {
    const std::size_t equals = text.find('=');
    std::string_view name;
    std::string_view values;
    if (equals == std::string_view::npos) {
        values = trimmedSpaces(text);
        name = isEncodingName(values) ? "ENCODING" : "TYPE";
    } else {
        name = validUtf8(trimmedSpaces(text.substr(0, equals)), card.arena);
        values = trimmedSpaces(text.substr(equals + 1));
    }
    if (name.empty())
        return;
    // Quotes only protect separators; TYPE="home,work" still lists two values.
    std::string_view unquoted = values;
    if (values.find('"') != std::string_view::npos) {
        std::string copy;
        copy.reserve(values.size());
        for (char c : values)
            if (c != '"')
                copy.push_back(c);
        unquoted = card.arena.keep(std::move(copy));
    }
    std::size_t start = 0;
    while (start <= unquoted.size()) {
        std::size_t comma = unquoted.find(',', start);
        if (comma == std::string_view::npos)
            comma = unquoted.size();
        const std::string_view value = trimmedSpaces(unquoted.substr(start, comma - start));
        if (!value.empty())
            card.parameters.push_back({name, validUtf8(value, card.arena)});
        start = comma + 1;
    }
}

// The part of a content line before its value: group, name and parameters.
struct PropertyHead {
    std::string_view group;
    std::string_view name;
    std::size_t firstParameter = 0;
    std::size_t valueStart = 0;
};

// None for a line that is not a property: no colon, or a name that is not one. Its parameters are
// added to `card`, and taken back again when it is not.
std::optional<PropertyHead> parseHead(std::string_view line, CardScratch& card) {
    std::size_t i = headEnd(line);
    if (i == std::string_view::npos)
        return std::nullopt;
    const std::string_view qualified = trimmedSpaces(line.substr(0, i));
    const std::size_t dot = qualified.find('.');
    const std::string_view group =
        dot == std::string_view::npos ? std::string_view() : qualified.substr(0, dot);
    const std::string_view name = dot == std::string_view::npos ? qualified : qualified.substr(dot + 1);
    if (name.empty())
        return std::nullopt;
    for (std::string_view part : {group, name})
        for (char c : part)
            if (!isNameCharacter(c))
                return std::nullopt;

    PropertyHead head{group, name, card.parameters.size(), 0};
    const auto refuse = [&] {
        card.parameters.resize(head.firstParameter);
        return std::nullopt;
    };
    while (i < line.size() && line[i] == ';') {
        const std::size_t end = findUnquoted(line, i + 1, ";:");
        if (end == std::string_view::npos)
            return refuse();
        addParameter(card, line.substr(i + 1, end - i - 1));
        i = end;
    }
    if (i >= line.size() || line[i] != ':')
        return refuse();
    head.valueStart = i + 1;
    return head;
}

bool parseProperty(std::string_view line, CardScratch& card) {
    const auto head = parseHead(line, card);
    if (!head)
        return false;
    const auto parameters = card.parametersFrom(head->firstParameter);
    const std::string_view raw = line.substr(head->valueStart);
    std::string_view bytes = raw;
    if (isQuotedPrintable(parameters))
        bytes = card.arena.keep(decodedQuotedPrintable(raw));
    const auto charset = parameterIn(parameters, "CHARSET");
    const std::string_view value =
        charset ? card.arena.keep(decodedCharset(bytes, *charset)) : validUtf8(bytes, card.arena);
    card.properties.push_back({head->group, head->name, {}, value});
    card.parameterRanges.emplace_back(head->firstParameter, parameters.size());
    return true;
}

// True when the head on the first physical line marks the value as quoted-printable; its soft
// line breaks then join lines that are not indented.
bool headIsQuotedPrintable(std::string_view firstLine, CardScratch& card) {
    const std::size_t before = card.parameters.size();
    const auto head = parseHead(firstLine, card);
    const bool quoted = head && isQuotedPrintable(card.parametersFrom(before));
    card.parameters.resize(before);
    return quoted;
}

std::string_view versionOf(const std::vector<std::string_view>& lines, TextArena& arena) {
    for (std::string_view line : lines)
        if (startsWithIgnoringCase(line, "VERSION:"))
            return validUtf8(trimmedSpaces(line.substr(8)), arena);
    return {};
}

// False for a property line whose name is not among `names` (all are wanted when it is empty). A
// line that is no property is wanted, so it is still parsed and reported.
bool isWanted(std::string_view line, std::span<const std::string_view> names) {
    if (names.empty())
        return true;
    const std::size_t end = headEnd(line);
    if (end == std::string_view::npos)
        return true;
    std::string_view name = trimmedSpaces(line.substr(0, end));
    if (const std::size_t dot = name.find('.'); dot != std::string_view::npos)
        name = name.substr(dot + 1);
    for (char c : name)
        if (!isNameCharacter(c))
            return true;
    for (std::string_view wanted : names)
        if (equalsIgnoringCase(name, wanted))
            return true;
    return false;
}

// Reads the lines of one card into `card` and hands it on as a view.
VCardView buildCard(const std::vector<std::string_view>& lines, std::size_t position,
                    const ProblemSink& onProblem, std::span<const std::string_view> names,
                    CardScratch& card) {
    card.clear();
    VCardView view;
    view.position = position;
    view.version = versionOf(lines, card.arena);
    // vCard 2.1 folds only where white space already stood, so unfolding keeps it; 3.0 and 4.0
    // insert the white space and unfolding removes it.
    const bool keepsFoldSpace = view.version.size() >= 2 && view.version.compare(0, 2, "2.") == 0;

    // The logical line being gathered: a view of its one physical line until a fold or soft line
    // break makes it a joined copy. A line of a property nobody wants is passed over uncopied.
    std::string_view current;
    std::string joined;
    bool isJoined = false;
    bool haveCurrent = false;
    bool passedOver = false;
    std::string_view firstLine;
    // Read from the head only when a soft break is possible. Two flags, not an optional: g++ 12 at -O2
    // takes the optional's value for uninitialised.
    bool quotedPrintableKnown = false;
    bool quotedPrintable = false;
    std::size_t skipped = 0;
    const auto softBreak = [&] {
        if (!haveCurrent || current.empty() || current.back() != '=')
            return false;
        if (!quotedPrintableKnown) {
            quotedPrintable = headIsQuotedPrintable(firstLine, card);
            quotedPrintableKnown = true;
        }
        return quotedPrintable;
    };
    const auto join = [&](std::string_view continuation, bool dropLast) {
        if (passedOver) {
            current = continuation;
            return;
        }
        if (!isJoined) {
            joined.assign(current);
            isJoined = true;
        }
        if (dropLast)
            joined.pop_back();
        joined.append(continuation);
        current = joined;
    };
    const auto flush = [&] {
        if (!haveCurrent)
            return;
        haveCurrent = false;
        if (passedOver)
            return;
        // A joined line is kept: the property's texts may be views into it.
        const std::string_view line = isJoined ? card.arena.keep(joined) : current;
        joined.clear();
        if (!parseProperty(line, card) && !trimmedSpaces(line).empty())
            ++skipped;
    };

    for (std::string_view line : lines) {
        if (softBreak()) {
            join(line, true);
            continue;
        }
        if (haveCurrent && !line.empty() && isFoldSpace(line.front())) {
            join(keepsFoldSpace ? line : line.substr(1), false);
            continue;
        }
        flush();
        if (trimmedSpaces(line).empty())
            continue;
        current = line;
        firstLine = line;
        isJoined = false;
        haveCurrent = true;
        passedOver = !isWanted(line, names);
        quotedPrintableKnown = false;
    }
    flush();

    for (std::size_t i = 0; i < card.properties.size(); ++i) {
        const auto [first, count] = card.parameterRanges[i];
        card.properties[i].parameters =
            std::span<const VCardView::Parameter>(card.parameters.data() + first, count);
    }
    view.properties = card.properties;

    if (skipped > 0 && onProblem)
        onProblem(position, skipped == 1
                                ? "skipped a line that is not a property"
                                : "skipped " + std::to_string(skipped) + " lines that are not properties");
    return view;
}

// The owning form of a card read in place.
VCard ownedCard(const VCardView& view) {
    VCard card;
    card.position = view.position;
    card.version = std::string(view.version);
    card.properties.reserve(view.properties.size());
    for (const VCardView::Property& property : view.properties) {
        VCard::Property owned;
        owned.group = upperAscii(property.group);
        owned.name = upperAscii(property.name);
        owned.value = std::string(property.value);
        for (const VCardView::Parameter& parameter : property.parameters)
            owned.parameters.push_back({upperAscii(parameter.name), std::string(parameter.value)});
        card.properties.push_back(std::move(owned));
    }
    return card;
}

// Cards open at once, the outermost included; a card nested deeper is skipped.
constexpr std::size_t kMaxOpenCards = 8;

// True for "AGENT:" with nothing after it: a 2.1 agent card follows on the next lines.
bool opensAgent(std::string_view line) {
    const std::size_t colon = findUnquoted(line, 0, ":");
    if (colon == std::string_view::npos || !trimmedSpaces(line.substr(colon + 1)).empty())
        return false;
    std::string_view head = line.substr(0, colon);
    head = head.substr(0, head.find(';'));
    const std::size_t dot = head.find('.');
    if (dot != std::string_view::npos)
        head = head.substr(dot + 1);
    return equalsIgnoringCase(trimmedSpaces(head), "AGENT");
}

// The cards of one reading begun and not yet handed on, and the lists they use.
struct ReaderState {
    // A card may hold whole cards (phone exporters write them so), each read as a card of its
    // own, after which the outer one goes on.
    struct Card {
        std::size_t position = 0;
        std::vector<std::string_view> lines;
        bool ended = false;
        bool tooDeep = false; // skipped unread, past kMaxOpenCards
    };

    std::vector<Card> open; // begun and not yet ended, innermost last
    // Cards of the outermost one's nest that are done with, handed on in file order once it ends,
    // so that positions and problems still come in file order.
    std::vector<Card> done;
    CardScratch scratch;
    std::vector<std::vector<std::string_view>> spare; // line lists of cards handed on
    bool busy = false;

    std::vector<std::string_view> freshLines() {
        if (spare.empty())
            return {};
        std::vector<std::string_view> lines = std::move(spare.back());
        spare.pop_back();
        return lines;
    }
    void recycle(std::vector<Card>& cards) {
        for (Card& card : cards) {
            card.lines.clear();
            // The lists of a card of ordinary length, and a few: a huge one is not held on to.
            if (card.lines.capacity() <= kKeptRoom && spare.size() < kKeptLists)
                spare.push_back(std::move(card.lines));
        }
        cards.clear();
    }
    // Nothing of the reading stays but the room it made, as much as ordinary cards need.
    void reset() {
        recycle(open);
        recycle(done);
        scratch.clear();
        const auto trim = [](auto& list) {
            if (list.capacity() > kKeptRoom)
                std::remove_reference_t<decltype(list)>().swap(list);
        };
        trim(scratch.properties);
        trim(scratch.parameters);
        trim(scratch.parameterRanges);
        busy = false;
    }

    static constexpr std::size_t kKeptRoom = 1024;
    static constexpr std::size_t kKeptLists = 16;
};

// Runs `action` when it goes.
template <typename Action> struct AtExit {
    Action action;
    ~AtExit() { action(); }
};

} // namespace

void readVCards(std::string_view bytes, const std::function<bool(VCard&&)>& onCard,
                const ProblemSink& onProblem, std::span<const std::string_view> properties,
                const std::function<void(std::size_t)>& onConsumed) {
    readVCardViews(
        bytes, [&](const VCardView& card) { return onCard(ownedCard(card)); }, onProblem, properties,
        onConsumed);
}

void readVCardViews(std::string_view bytes, const std::function<bool(const VCardView&)>& onCard,
                    const ProblemSink& onProblem, std::span<const std::string_view> properties,
                    const std::function<void(std::size_t)>& onConsumed) {
    std::string converted;
    std::string_view text = bytes;
    // Offsets into `text` are offsets into `bytes` plus this, unless the text is a converted copy.
    std::size_t skippedPrefix = 0;
    bool readsCopy = false;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        skippedPrefix = 3;
    } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        converted = utf8FromUtf16(text.substr(2), text[0] == '\xFE');
        text = converted;
        readsCopy = true;
        // Only the copy is read from now on.
        if (onConsumed)
            onConsumed(bytes.size());
    }
    const auto consumedThrough = [&](std::string_view line) {
        if (onConsumed && !readsCopy)
            onConsumed(skippedPrefix + static_cast<std::size_t>(line.data() + line.size() - text.data()));
    };

    const auto report = [&](std::size_t position, std::string_view problem) {
        if (onProblem)
            onProblem(position, problem);
    };

    // What one reading works in, kept by the thread from file to file, so that reading thousands
    // of one-card files does not make its lists anew for each. A reading inside a reading (one
    // that a receiver starts) gets lists of its own.
    thread_local ReaderState kept;
    ReaderState own;
    ReaderState& state = kept.busy ? own : kept;
    state.busy = true;
    const AtExit<std::function<void()>> resetOnReturn{[&] { state.reset(); }};
    std::vector<ReaderState::Card>& open = state.open;
    std::vector<ReaderState::Card>& done = state.done;
    CardScratch& scratch = state.scratch;
    const auto freshLines = [&] { return state.freshLines(); };
    using Card = ReaderState::Card;
    std::size_t skipDepth = 0; // lines of an agent card, or of a card nested too deep, passed over
    const auto handOn = [&]() {
        std::sort(done.begin(), done.end(),
                  [](const Card& a, const Card& b) { return a.position < b.position; });
        for (Card& card : done) {
            if (card.tooDeep) {
                report(card.position, "skipped a card nested too deep");
                continue;
            }
            if (!card.ended)
                report(card.position, "kept a card without END:VCARD");
            if (!onCard(buildCard(card.lines, card.position, onProblem, properties, scratch)))
                return false;
        }
        state.recycle(done);
        return true;
    };

    LineCursor cursor(text);
    std::string_view line;
    std::size_t position = 0;
    while (cursor.next(line)) {
        if (open.empty()) {
            if (isBeginLine(line))
                open.push_back(Card{++position, freshLines(), false, false});
            continue;
        }
        if (skipDepth > 0) {
            if (isBeginLine(line))
                ++skipDepth;
            else if (isEndLine(line))
                --skipDepth;
            continue;
        }
        if (isBeginLine(line)) {
            const auto& outer = open.back().lines;
            if (!outer.empty() && opensAgent(outer.back())) {
                skipDepth = 1;
                continue;
            }
            if (open.size() >= kMaxOpenCards) {
                done.push_back(Card{++position, {}, true, true});
                skipDepth = 1;
                continue;
            }
            open.push_back(Card{++position, freshLines(), false, false});
            continue;
        }
        if (isEndLine(line)) {
            open.back().ended = true;
            done.push_back(std::move(open.back()));
            open.pop_back();
            if (!open.empty())
                continue;
            if (!handOn())
                return;
            // The cards were copied out; nothing up to their end is looked at again.
            consumedThrough(line);
            continue;
        }
        open.back().lines.push_back(line);
    }
    // A card still open at the end keeps what it had.
    for (Card& card : open)
        done.push_back(std::move(card));
    if (!handOn())
        return;
    if (position == 0 && text.find_first_not_of(" \t\r\n") != std::string_view::npos)
        report(0, "no card in the file");
}

} // namespace Platform
