#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace MurvelCommerceUpdates {

// Reads one HTTP/1.x response to a GET as its bytes arrive, and never holds more than its bounds:
// `headLimit` bytes of status lines, header fields and chunk trailers together, `bodyLimit` bytes
// of body. Interim 1xx heads are skipped. A body is framed by chunked transfer coding, by
// Content-Length, or by the end of the connection.
class HttpResponseReader {
public:
    enum class State { head, body, complete, failed };
    enum class Failure {
        none,
        malformed,    // not HTTP/1.x, a broken field, chunk or length
        headTooLarge, // the head (or the trailers) passed `headLimit`
        bodyTooLarge, // the body passed `bodyLimit`
        truncated,    // the connection ended before the response did
    };

    static constexpr std::size_t chunkLineLimit = 4096;

    HttpResponseReader(std::size_t headLimit, std::size_t bodyLimit);

    // How many bytes to read next: never more than one past any bound, 0 once the outcome is known.
    std::size_t wanted() const;
    // Takes the next bytes of the connection. Whatever follows the end of the response, or a
    // failure, is ignored.
    void feed(std::string_view bytes);
    // The connection ended: completes a body that runs to the close; anything else is truncated.
    void close();

    State state() const { return state_; }
    Failure failure() const { return failure_; }
    // The final status code once the head is read, else 0.
    int status() const { return status_; }
    const std::string& body() const { return body_; }

private:
    enum class Framing { none, length, chunked, untilClose };
    enum class ChunkStep { sizeLine, data, dataEnd, trailers };

    std::size_t readHead(std::string_view bytes);
    std::size_t readBody(std::string_view bytes);
    std::size_t readChunked(std::string_view bytes);
    bool parseHead(std::string_view head);
    bool appendBody(std::string_view bytes);
    void fail(Failure failure);

    std::size_t headLimit_;
    std::size_t bodyLimit_;
    State state_ = State::head;
    Failure failure_ = Failure::none;
    int status_ = 0;

    std::string head_;         // the head being read
    std::size_t headUsed_ = 0; // bytes of earlier heads and of trailers
    Framing framing_ = Framing::none;
    std::uint64_t remaining_ = 0; // of the Content-Length, or of the current chunk
    ChunkStep chunkStep_ = ChunkStep::sizeLine;
    std::string line_; // the chunk-size or trailer line being read
    std::string body_;
};

} // namespace MurvelCommerceUpdates
