// Feeds arbitrary bytes, as a hostile server would send them, to the update fetch's HTTP response
// reader: whole, byte by byte, and in the pieces the reader asks for. Besides crashes and sanitizer
// reports it stops when the three disagree, when a bound is passed, or when the reader asks for
// more than one byte past a bound.
#include "MurvelCommerceUpdates/HttpResponseReader.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using MurvelCommerceUpdates::HttpResponseReader;

// Small bounds, so that short inputs reach them.
constexpr std::size_t headLimit = 256;
constexpr std::size_t bodyLimit = 64;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

enum class Pieces { whole, bytes, wanted };

HttpResponseReader read(std::string_view input, Pieces pieces) {
    HttpResponseReader reader(headLimit, bodyLimit);
    if (pieces == Pieces::whole) {
        reader.feed(input);
    } else {
        while (!input.empty() && reader.wanted() > 0) {
            require(reader.wanted() <= std::max(headLimit, HttpResponseReader::chunkLineLimit) + 1,
                    "asks for at most one byte past a bound");
            const std::size_t size = pieces == Pieces::bytes ? 1 : std::min(reader.wanted(), input.size());
            reader.feed(input.substr(0, size));
            input.remove_prefix(size);
        }
    }
    require(reader.body().size() <= bodyLimit, "the body stays within its bound");
    require((reader.state() == HttpResponseReader::State::failed) ==
                (reader.failure() != HttpResponseReader::Failure::none),
            "a failure is named exactly when reading failed");
    reader.close();
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HttpResponseReader whole = read(bytes, Pieces::whole);
    for (const Pieces pieces : {Pieces::bytes, Pieces::wanted}) {
        const HttpResponseReader other = read(bytes, pieces);
        require(other.state() == whole.state() && other.failure() == whole.failure() &&
                    other.status() == whole.status(),
                "the same outcome however the bytes arrive");
        if (whole.state() == HttpResponseReader::State::complete)
            require(other.body() == whole.body(), "the same body however the bytes arrive");
    }
    if (whole.state() != HttpResponseReader::State::failed && whole.status() != 0)
        require(whole.status() >= 101 && whole.status() <= 999, "a final status of three digits");
    return 0;
}
