#include "MurvelCommerceUpdates/HttpResponseReader.hpp"

#include <gtest/gtest.h>

using MurvelCommerceUpdates::HttpResponseReader;

namespace {

using State = HttpResponseReader::State;
using Failure = HttpResponseReader::Failure;

constexpr std::size_t headLimit = 128;
constexpr std::size_t bodyLimit = 16;

struct Outcome {
    State state;
    Failure failure;
    int status;
    std::string body;

    friend bool operator==(const Outcome&, const Outcome&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Outcome& o) {
        return out << "state " << int(o.state) << " failure " << int(o.failure) << " status " << o.status
                   << " body \"" << o.body << '"';
    }
};

std::string repeated(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

enum class Pieces { whole, bytes, wanted };

// Feeds `input` whole, byte by byte, or in the sizes the reader asks for, then closes if `close`.
Outcome read(std::string_view input, Pieces pieces, bool close) {
    HttpResponseReader reader(headLimit, bodyLimit);
    if (pieces == Pieces::whole) {
        reader.feed(input);
    } else {
        while (!input.empty() && reader.wanted() > 0) {
            const std::size_t size = pieces == Pieces::bytes ? 1 : std::min(reader.wanted(), input.size());
            reader.feed(input.substr(0, size));
            input.remove_prefix(size);
        }
    }
    if (close)
        reader.close();
    return {reader.state(), reader.failure(), reader.status(), reader.body()};
}

TEST(HttpResponseReader, ReadsResponsesWithinBounds) {
    const Outcome ok{State::complete, Failure::none, 200, "hello"};
    const auto failed = [](Failure failure, int status = 0) {
        return Outcome{State::failed, failure, status, ""};
    };
    const std::string sixteen(16, 'x');
    // Heads of 127, 128 and 129 bytes.
    const auto headOf = [](std::size_t size) {
        return "HTTP/1.1 200 OK\r\nX: " + std::string(size - 24, 'a') + "\r\n\r\n";
    };
    const struct {
        const char* name;
        std::string input;
        bool close;
        Outcome outcome;
    } cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", false, ok},
        {"length, bytes after ignored", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", false, ok},
        {"bare line feeds", "HTTP/1.1 200 OK\nContent-Length: 5\n\nhello", false, ok},
        {"no reason phrase", "HTTP/1.1 200\r\ncontent-length:5\r\n\r\nhello", false, ok},
        {"HTTP/1.0 to the close", "HTTP/1.0 200 OK\r\n\r\nhello", true, ok},
        {"to the close, not closed yet",
         "HTTP/1.1 200 OK\r\n\r\nhello",
         false,
         {State::body, Failure::none, 200, "hello"}},
        {"equal lengths", "HTTP/1.1 200 OK\r\nContent-Length: 5, 5\r\nContent-Length: 5\r\n\r\nhello", false,
         ok},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nhel\r\n2;x=y\r\nlo\r\n0\r\n\r\n", false,
         ok},
        {"chunked, trailers",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\nT: 1\r\n\r\n", false, ok},
        {"chunked wins over a length",
         "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: gzip, "
         "chunked\r\n\r\n05\r\nhello\r\n0\r\n\r\n",
         false, ok},
        {"other transfer coding runs to the close", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nhello",
         true, ok},
        {"interim answers skipped",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Hints\r\nL: x\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: "
         "5\r\n\r\nhello",
         false, ok},
        {"empty body",
         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
         false,
         {State::complete, Failure::none, 200, ""}},
        {"no body for 204",
         "HTTP/1.1 204 No Content\r\n\r\n",
         false,
         {State::complete, Failure::none, 204, ""}},
        {"no body for 101",
         "HTTP/1.1 101 Switching\r\n\r\n",
         false,
         {State::complete, Failure::none, 101, ""}},
        {"a 404 reports its status",
         "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno",
         false,
         {State::complete, Failure::none, 404, "no"}},
        // bounds
        {"body at the limit",
         "HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\n" + sixteen,
         false,
         {State::complete, Failure::none, 200, sixteen}},
        {"body past the limit", "HTTP/1.1 200 OK\r\nContent-Length: 17\r\n\r\n" + sixteen + "x", false,
         failed(Failure::bodyTooLarge, 200)},
        {"body to the close past the limit", "HTTP/1.1 200 OK\r\n\r\n" + sixteen + "x", true,
         failed(Failure::bodyTooLarge, 200)},
        {"chunked past the limit",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\n12345678\r\n9\r\n123456789\r\n0\r\n\r\n",
         false, failed(Failure::bodyTooLarge, 200)},
        {"huge length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n" + sixteen + "x",
         false, failed(Failure::bodyTooLarge, 200)},
        {"huge chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFFFF\r\n" + sixteen + "x",
         false, failed(Failure::bodyTooLarge, 200)},
        {"head under the limit", headOf(127) + "hello", true, ok},
        {"head at the limit", headOf(128) + "hello", true, ok},
        {"head past the limit", headOf(129) + "hello", true, failed(Failure::headTooLarge)},
        {"endless status line", "HTTP/1.1 200 " + std::string(200, 'a'), false,
         failed(Failure::headTooLarge)},
        {"endless fields", "HTTP/1.1 200 OK\r\n" + repeated("A: b\r\n", 40), false,
         failed(Failure::headTooLarge)},
        {"interim heads count", repeated("HTTP/1.1 100 Continue\r\n\r\n", 6), false,
         failed(Failure::headTooLarge)},
        {"trailers count",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\nT: " + std::string(100, 't') + "\r\n\r\n",
         false, failed(Failure::headTooLarge, 200)},
        // malformed
        {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, failed(Failure::malformed)},
        {"HTTP/2 text", "HTTP/2 200\r\n\r\n", false, failed(Failure::malformed)},
        {"two-digit status", "HTTP/1.1 20 OK\r\n\r\n", false, failed(Failure::malformed)},
        {"status below 100", "HTTP/1.1 099 OK\r\n\r\n", false, failed(Failure::malformed)},
        {"folded field", "HTTP/1.1 200 OK\r\nX: a\r\n b\r\n\r\n", false, failed(Failure::malformed)},
        {"field without colon", "HTTP/1.1 200 OK\r\nnonsense\r\n\r\n", false, failed(Failure::malformed)},
        {"space in a name", "HTTP/1.1 200 OK\r\nContent-Length : 5\r\n\r\nhello", false,
         failed(Failure::malformed)},
        {"lengths differ", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello", false,
         failed(Failure::malformed)},
        {"length not a number", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nhello", false,
         failed(Failure::malformed)},
        {"chunk size not hexadecimal", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nxyz\r\n", false,
         failed(Failure::malformed, 200)},
        {"chunk without its line end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nhelo\r\n",
         false, failed(Failure::malformed, 200)},
        {"endless chunk size line",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;" + std::string(5000, 'e'), false,
         failed(Failure::malformed, 200)},
        // the connection ends early
        {"closed in the head", "HTTP/1.1 200 OK\r\nContent-", true, failed(Failure::truncated)},
        {"closed in a length", "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nhello", true,
         failed(Failure::truncated, 200)},
        {"closed in a chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", true,
         failed(Failure::truncated, 200)},
        {"closed at once", "", true, failed(Failure::truncated)},
    };
    for (const auto& c : cases) {
        Outcome expected = c.outcome;
        for (const Pieces pieces : {Pieces::whole, Pieces::bytes, Pieces::wanted}) {
            Outcome outcome = read(c.input, pieces, c.close);
            // What a failed read gathered of the body does not matter.
            if (outcome.state == State::failed)
                outcome.body.clear();
            EXPECT_EQ(outcome, expected) << c.name << ", fed " << int(pieces);
        }
    }
}

TEST(HttpResponseReader, AsksForNoMoreThanOnePastItsBounds) {
    HttpResponseReader reader(headLimit, bodyLimit);
    EXPECT_EQ(reader.wanted(), headLimit + 1);
    reader.feed("HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(reader.wanted(), headLimit - 17 + 1);
    reader.feed("\r\n");
    EXPECT_EQ(reader.wanted(), bodyLimit + 1) << "to the close";
    reader.feed("12345");
    EXPECT_EQ(reader.wanted(), bodyLimit - 5 + 1);
    reader.close();
    EXPECT_EQ(reader.wanted(), 0u);

    HttpResponseReader withLength(headLimit, bodyLimit);
    withLength.feed("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n");
    EXPECT_EQ(withLength.wanted(), 3u) << "not past the response";
}

} // namespace
