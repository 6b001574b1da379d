#include "Platform/IniFileText.hpp"

#include <algorithm>
#include <iterator>

namespace Platform {

namespace {

bool isLineEnd(char ch) {
    return ch == '\n' || ch == '\r';
}

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

int octalDigit(char ch) {
    return ch >= '0' && ch <= '7' ? ch - '0' : -1;
}

// One logical line from `position` on: where it starts and ends and where its "=" is. A line runs
// on past a line end inside quotes or after a backslash; ";" at its start makes the rest of that
// line a comment, and elsewhere outside quotes ends the line. False at the end of the text.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1;
    bool ranOnInQuotes = false;
};

bool nextLine(const QByteArray& text, qsizetype& position, Line& line) {
    line = Line{};
    qsizetype start = position;
    while (start < text.size() && (isBlank(text[start]) || isLineEnd(text[start])))
        ++start;
    bool inQuotes = false;
    qsizetype i = start;
    while (i < text.size()) {
        const char ch = text[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals < 0)
                line.equals = i - 1;
        } else if (isLineEnd(ch)) {
            if (i == start + 1) {
                ++start;
            } else if (inQuotes) {
                line.ranOnInQuotes = true;
            } else {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < text.size()) {
                const char escaped = text[i++];
                // A backslash before a line end pair takes the pair.
                if (i < text.size() && isLineEnd(escaped) && isLineEnd(text[i]) && text[i] != escaped)
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == start + 1) {
                while (i < text.size() && !isLineEnd(text[i]))
                    ++i;
                while (i < text.size() && (isBlank(text[i]) || isLineEnd(text[i])))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    if (inQuotes)
        line.ranOnInQuotes = true;
    position = i;
    line.start = start;
    line.end = i;
    return i > start;
}

// The text of a value: unescaped, trimmed as QSettings trims it, and split into items at commas
// outside quotes (one item when there is none).
QStringList itemsOf(QByteArrayView value) {
    static constexpr char escapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                          {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                          {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    QStringList items;
    QString item;
    bool inQuotes = false;
    bool itemIsQuoted = false;
    qsizetype keep = 0; // trailing blanks before this are the value's own
    const auto chopBlanks = [&] {
        if (itemIsQuoted)
            return;
        while (item.size() > keep && (item.back() == ' ' || item.back() == '\t'))
            item.chop(1);
    };
    const auto skipBlanks = [&](qsizetype& i) {
        while (i < value.size() && isBlank(value[i]))
            ++i;
        keep = item.size();
    };

    qsizetype i = 0;
    skipBlanks(i);
    while (i < value.size()) {
        const char ch = value[i];
        if (ch == '\\') {
            if (++i >= value.size())
                break;
            const char code = value[i++];
            const auto* named = std::find_if(std::begin(escapes), std::end(escapes),
                                             [code](const auto& escape) { return escape[0] == code; });
            if (named != std::end(escapes)) {
                item += QLatin1Char((*named)[1]);
            } else if (code == 'x' && i < value.size() && hexDigit(value[i]) >= 0) {
                char16_t unit = 0;
                for (int digit; i < value.size() && (digit = hexDigit(value[i])) >= 0; ++i)
                    unit = char16_t((unit << 4) + digit);
                item += QChar(unit);
            } else if (octalDigit(code) >= 0) {
                auto unit = char16_t(octalDigit(code));
                for (int digit; i < value.size() && (digit = octalDigit(value[i])) >= 0; ++i)
                    unit = char16_t((unit << 3) + digit);
                item += QChar(unit);
            } else if (isLineEnd(code)) {
                if (i < value.size() && isLineEnd(value[i]) && value[i] != code)
                    ++i;
            }
            // Any other escaped character is dropped. Blanks before an escape are the value's own.
            keep = item.size();
        } else if (ch == '"') {
            ++i;
            itemIsQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks(i);
        } else if (ch == ',' && !inQuotes) {
            chopBlanks();
            items << item;
            item.clear();
            itemIsQuoted = false;
            ++i;
            skipBlanks(i);
        } else {
            qsizetype run = i + 1;
            while (run < value.size() && value[run] != '\\' && value[run] != '"' && value[run] != ',')
                ++run;
            item += QString::fromUtf8(value.sliced(i, run - i));
            i = run;
        }
    }
    chopBlanks();
    items << item;
    return items;
}

} // namespace

IniFileText::IniFileText(const QByteArray& text) {
    const qsizetype bom = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype position = bom;
    Line line;
    while (nextLine(text, position, line)) {
        hasOpenQuote_ = hasOpenQuote_ || line.ranOnInQuotes;
        const QByteArrayView bytes = QByteArrayView(text).sliced(line.start, line.end - line.start);
        if (bytes.startsWith('[')) {
            hasLinesThatDoNotParse_ = hasLinesThatDoNotParse_ || !bytes.contains(']');
            continue;
        }
        if (line.equals < 0) {
            hasLinesThatDoNotParse_ = hasLinesThatDoNotParse_ || !bytes.startsWith(';');
            continue;
        }
        const qsizetype equals = line.equals - line.start;
        keyLines_.push_back({line.start, line.end, bytes.first(equals).trimmed().toByteArray(),
                             itemsOf(bytes.sliced(equals + 1))});
    }
}

} // namespace Platform
