#include "MurvelCommerceUpdates/HttpResponseReader.hpp"

#include <algorithm>
#include <optional>
#include <vector>

namespace MurvelCommerceUpdates {

namespace {

constexpr std::string_view blanks = " \t";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// `line` without its line ending (LF or CR LF).
std::string_view withoutEnding(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isTokenChar(char c) {
    if (isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// A decimal length; values beyond 64 bits saturate, since any of them is over every bound.
std::optional<std::uint64_t> decimal(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    return value;
}

std::optional<std::uint64_t> hexadecimal(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit = 0;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value > (UINT64_MAX >> 4) ? UINT64_MAX : (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

} // namespace

HttpResponseReader::HttpResponseReader(std::size_t headLimit, std::size_t bodyLimit)
    : headLimit_(headLimit), bodyLimit_(bodyLimit) {}

std::size_t HttpResponseReader::wanted() const {
    const std::size_t bodyRoom = bodyLimit_ - body_.size() + 1;
    switch (state_) {
    case State::head:
        return headLimit_ - headUsed_ - head_.size() + 1;
    case State::body:
        switch (framing_) {
        case Framing::length:
            return static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, bodyRoom));
        case Framing::untilClose:
            return bodyRoom;
        case Framing::chunked:
            switch (chunkStep_) {
            case ChunkStep::sizeLine:
                return chunkLineLimit - line_.size() + 1;
            case ChunkStep::data:
                return static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, bodyRoom));
            case ChunkStep::dataEnd:
                return 3 - line_.size();
            case ChunkStep::trailers:
                return headLimit_ - headUsed_ - line_.size() + 1;
            }
            break;
        case Framing::none:
            break;
        }
        return 0;
    case State::complete:
    case State::failed:
        return 0;
    }
    return 0;
}

void HttpResponseReader::feed(std::string_view bytes) {
    while (!bytes.empty() && (state_ == State::head || state_ == State::body)) {
        const State before = state_;
        const std::size_t used = state_ == State::head ? readHead(bytes) : readBody(bytes);
        if (used == 0 && state_ == before)
            break;
        bytes.remove_prefix(std::min(used, bytes.size()));
    }
}

void HttpResponseReader::close() {
    if (state_ == State::body && framing_ == Framing::untilClose)
        state_ = State::complete;
    else if (state_ == State::head || state_ == State::body)
        fail(Failure::truncated);
}

std::size_t HttpResponseReader::readHead(std::string_view bytes) {
    const std::size_t room = headLimit_ - headUsed_ - head_.size();
    const std::size_t before = head_.size();
    head_.append(bytes.substr(0, room + 1));
    // The head ends at the first empty line: LF LF or LF CR LF.
    for (std::size_t at = head_.find('\n', before >= 2 ? before - 2 : 0); at != std::string::npos;
         at = head_.find('\n', at + 1)) {
        std::size_t end = 0;
        if (at + 1 < head_.size() && head_[at + 1] == '\n')
            end = at + 2;
        else if (at + 2 < head_.size() && head_[at + 1] == '\r' && head_[at + 2] == '\n')
            end = at + 3;
        if (end == 0)
            continue;
        head_.resize(end);
        headUsed_ += end;
        if (headUsed_ > headLimit_)
            fail(Failure::headTooLarge);
        else if (!parseHead(head_))
            fail(Failure::malformed);
        head_.clear();
        return end - before;
    }
    if (headUsed_ + head_.size() > headLimit_)
        fail(Failure::headTooLarge);
    return head_.size() - before;
}

bool HttpResponseReader::parseHead(std::string_view head) {
    std::vector<std::string_view> lines = split(head, '\n');
    const std::string_view statusLine = withoutEnding(lines.front());
    // "HTTP/1.x 200" and an optional reason phrase.
    if (statusLine.size() < 12 || statusLine.substr(0, 7) != "HTTP/1." || !isDigit(statusLine[7]) ||
        statusLine[8] != ' ' || !isDigit(statusLine[9]) || !isDigit(statusLine[10]) ||
        !isDigit(statusLine[11]) || (statusLine.size() > 12 && statusLine[12] != ' '))
        return false;
    const int status = (statusLine[9] - '0') * 100 + (statusLine[10] - '0') * 10 + (statusLine[11] - '0');
    if (status < 100)
        return false;

    bool hasTransferCoding = false;
    std::string transferCodings;
    std::vector<std::string_view> lengths;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = withoutEnding(lines[i]);
        if (line.empty())
            continue; // the blank line that ends the head
        if (line.front() == ' ' || line.front() == '\t')
            return false; // folded lines are obsolete
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return false;
        const std::string_view name = line.substr(0, colon);
        if (!std::all_of(name.begin(), name.end(), isTokenChar))
            return false;
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (equalsIgnoringCase(name, "transfer-encoding")) {
            hasTransferCoding = true;
            transferCodings += ',';
            transferCodings += value;
        } else if (equalsIgnoringCase(name, "content-length")) {
            for (const std::string_view length : split(value, ','))
                lengths.push_back(trimmed(length));
        }
    }

    if (status < 200 && status != 101)
        return true; // an interim answer: the real one follows
    Framing framing = Framing::untilClose;
    std::uint64_t length = 0;
    if (status < 200 || status == 204 || status == 304) {
        framing = Framing::none;
    } else if (hasTransferCoding) {
        // Chunked only when it is the last coding; otherwise the body runs to the close.
        const std::vector<std::string_view> codings = split(transferCodings, ',');
        if (equalsIgnoringCase(trimmed(codings.back()), "chunked"))
            framing = Framing::chunked;
    } else if (!lengths.empty()) {
        const std::optional<std::uint64_t> first = decimal(lengths.front());
        if (!first)
            return false;
        for (const std::string_view other : lengths) {
            if (decimal(other) != first)
                return false;
        }
        framing = Framing::length;
        length = *first;
    }
    status_ = status;
    framing_ = framing;
    remaining_ = length;
    state_ = framing == Framing::none || (framing == Framing::length && length == 0) ? State::complete
                                                                                     : State::body;
    return true;
}

std::size_t HttpResponseReader::readBody(std::string_view bytes) {
    switch (framing_) {
    case Framing::length: {
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), remaining_));
        if (appendBody(bytes.substr(0, take))) {
            remaining_ -= take;
            if (remaining_ == 0)
                state_ = State::complete;
        }
        return take;
    }
    case Framing::untilClose:
        appendBody(bytes);
        return bytes.size();
    case Framing::chunked:
        return readChunked(bytes);
    case Framing::none:
        break;
    }
    return 0;
}

std::size_t HttpResponseReader::readChunked(std::string_view bytes) {
    if (chunkStep_ == ChunkStep::data) {
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), remaining_));
        if (appendBody(bytes.substr(0, take))) {
            remaining_ -= take;
            if (remaining_ == 0)
                chunkStep_ = ChunkStep::dataEnd;
        }
        return take;
    }

    // The other steps read one line each: a chunk size, the end of a chunk's data, or a trailer.
    std::size_t limit = chunkLineLimit;
    Failure overflow = Failure::malformed;
    if (chunkStep_ == ChunkStep::dataEnd) {
        limit = 2;
    } else if (chunkStep_ == ChunkStep::trailers) {
        limit = headLimit_ - headUsed_;
        overflow = Failure::headTooLarge;
    }
    const std::size_t newline = bytes.find('\n');
    const std::size_t take = newline == std::string_view::npos ? bytes.size() : newline + 1;
    if (line_.size() + take > limit) {
        fail(overflow);
        return take;
    }
    line_.append(bytes.substr(0, take));
    if (newline == std::string_view::npos)
        return take;

    const std::string_view line = withoutEnding(line_);
    switch (chunkStep_) {
    case ChunkStep::sizeLine: {
        // The size in hexadecimal, then optional extensions after ";".
        std::string_view size = trimmed(line.substr(0, line.find(';')));
        const std::optional<std::uint64_t> value = hexadecimal(size);
        if (!value) {
            fail(Failure::malformed);
            break;
        }
        remaining_ = *value;
        chunkStep_ = remaining_ == 0 ? ChunkStep::trailers : ChunkStep::data;
        break;
    }
    case ChunkStep::dataEnd:
        if (!line.empty())
            fail(Failure::malformed);
        else
            chunkStep_ = ChunkStep::sizeLine;
        break;
    case ChunkStep::trailers:
        headUsed_ += line_.size();
        if (line.empty())
            state_ = State::complete;
        break;
    case ChunkStep::data:
        break;
    }
    line_.clear();
    return take;
}

bool HttpResponseReader::appendBody(std::string_view bytes) {
    if (bytes.size() > bodyLimit_ - body_.size()) {
        fail(Failure::bodyTooLarge);
        return false;
    }
    body_.append(bytes);
    return true;
}

void HttpResponseReader::fail(Failure failure) {
    state_ = State::failed;
    failure_ = failure;
}

} // namespace MurvelCommerceUpdates
