#include "MurvelCommerceUpdatesCore/UpdateManifest.hpp"

#include <gtest/gtest.h>

using namespace MurvelCommerceUpdatesCore;

namespace {

using Versions = std::map<std::string, std::string>;
using Outcome = std::variant<Versions, UpdateFailure>;

// The decoded versions as their texts, or the failure.
Outcome decode(std::string_view bytes) {
    const auto decoded = UpdateManifest::decoded(bytes);
    if (const auto* failure = std::get_if<UpdateFailure>(&decoded))
        return *failure;
    Versions texts;
    for (const auto& [app, version] : std::get<UpdateManifest>(decoded).versions())
        texts.emplace(app, version.description());
    return texts;
}

std::string show(const Outcome& outcome) {
    if (const auto* failure = std::get_if<UpdateFailure>(&outcome))
        return std::string(name(*failure));
    std::string text = "{";
    for (const auto& [app, version] : std::get<Versions>(outcome))
        text += app + "=" + version + " ";
    return text + "}";
}

// `document` padded with blanks before its closing brace to exactly `size` bytes.
std::string paddedTo(std::string document, std::size_t size) {
    document.insert(document.size() - 1, size - document.size(), ' ');
    return document;
}

TEST(UpdateManifest, DecodesDocuments) {
    const UpdateFailure unreadable = UpdateFailure::unreadable;
    const UpdateFailure unknownFormat = UpdateFailure::unknownFormat;
    // 60,000 brackets, unclosed or closed, at the top or as one app's value.
    const std::string nestedTop(60000, '[');
    const std::string nestedClosed = std::string(30000, '[') + std::string(30000, ']');
    const std::string nestedApp = R"({"format":1,"apps":{"x":"1.0","dialcove":)" + nestedClosed + "}}";
    std::string nestedObjects = R"({"format":1,"apps":{"dialcove":)";
    for (int i = 0; i < 10000; ++i)
        nestedObjects += "{\"\":";
    const struct {
        std::string bytes;
        Outcome outcome;
    } cases[] = {
        {R"({"format":1,"apps":{"dialcove":"1.4.2","other":"2.0"}})",
         Versions{{"dialcove", "1.4.2"}, {"other", "2.0"}}},
        {R"({"format":1,"apps":{}})", Versions{}},
        {R"({"apps":{},"format":1,"extra":[1,2,{"a":null}]})", Versions{}}, // other keys ignored
        {R"( {"format":1,"apps":{"dialcove":"01.2"}} )", Versions{{"dialcove", "01.2"}}},
        // "format"
        {R"({"format":1.0,"apps":{}})", Versions{}},
        {R"({"format":1e0,"apps":{}})", Versions{}},
        {R"({"format":2,"apps":{"dialcove":"1.0"}})", unknownFormat},
        {R"({"format":0,"apps":{}})", unknownFormat},
        {R"({"format":-1,"apps":{}})", unknownFormat},
        {R"({"format":2.0,"apps":{}})", unknownFormat},
        {R"({"format":1.5,"apps":{}})", unreadable},
        {R"({"format":"1","apps":{}})", unreadable},
        {R"({"format":true,"apps":{}})", unreadable},
        {R"({"format":null,"apps":{}})", unreadable},
        {R"({"format":[1],"apps":{}})", unreadable},
        {R"({"apps":{}})", unreadable},
        {R"({"format":1e400,"apps":{}})", unreadable},
        {R"({"format":9223372036854775808,"apps":{}})", unreadable},  // 2^63
        {R"({"format":18446744073709551617,"apps":{}})", unreadable}, // 2^64 + 1
        {R"({"format":9223372036854775807,"apps":{}})", unknownFormat},
        // "apps"
        {R"({"format":1})", unreadable},
        {R"({"format":1,"apps":[]})", unreadable},
        {R"({"format":1,"apps":"dialcove"})", unreadable},
        {R"({"format":1,"apps":null})", unreadable},
        {R"({"format":2,"apps":[]})", unreadable}, // the shape is checked before the format
        // entries
        {R"({"format":1,"apps":{"dialcove":2,"other":"1.0"}})", Versions{{"other", "1.0"}}},
        {R"({"format":1,"apps":{"dialcove":"1.0-beta"}})", Versions{}},
        {R"({"format":1,"apps":{"a":null,"b":true,"c":{},"d":["1.0"],"e":1.5,"f":" 1.0","g":"1.0"}})",
         Versions{{"g", "1.0"}}},
        {R"({"format":1,"apps":{"dialcove":"\uff11.0"}})", Versions{}}, // escaped full-width digit
        // not JSON of any shape
        {"", unreadable},
        {" ", unreadable},
        {"[]", unreadable},
        {R"([{"format":1,"apps":{}}])", unreadable},
        {"1", unreadable},
        {R"("text")", unreadable},
        {R"({"format":1,"apps":{}} x)", unreadable},
        {R"({"format":1,"apps":{}}{})", unreadable},
        {std::string(R"({"format":1,"apps":{}})") + '\0', unreadable},
        {std::string(R"({"format":1,"apps":{}})") + '\0' + "garbage", unreadable},
        {std::string(R"({"format":1,"apps":{"dialcove":"1.0)") + '\0' + "\"}}", unreadable},
        {R"({"format":1,"apps":{"dialcove":"1.0")", unreadable},
        {"{\"format\":1,\"apps\":{\"dialcove\":\"1.0\xff\"}}", unreadable}, // invalid UTF-8 in a string
        {"{\"format\":1,\"apps\":{\"dial\xc3\":\"1.0\"}}", unreadable},     // and in a key
        {"\xef\xbb\xbf{\"format\":1,\"apps\":{}}", Versions{}},             // a byte-order mark is skipped
        {R"({"format":1,"apps":{"dialcove":"1.0",}})", unreadable},
        {R"({'format':1,'apps':{}})", unreadable},
        // depth costs no stack
        {nestedTop, unreadable},
        {nestedClosed, unreadable},
        {nestedApp, Versions{{"x", "1.0"}}},
        {nestedObjects, unreadable},
        {nestedObjects + "1" + std::string(10000, '}') + "}}", Versions{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(decode(c.bytes)), show(c.outcome)) << c.bytes.substr(0, 80);
}

TEST(UpdateManifest, SizeIsBoundedBeforeParsing) {
    const std::string valid = R"({"format":1,"apps":{"dialcove":"1.4"}})";
    EXPECT_EQ(show(decode(paddedTo(valid, UpdateManifest::maximumBytes))),
              show(Versions{{"dialcove", "1.4"}}));
    EXPECT_EQ(show(decode(paddedTo(valid, UpdateManifest::maximumBytes + 1))), "unreadable");
    // Refused by its size alone: not even the text before the limit is looked at.
    const std::string oversized = valid + std::string(UpdateManifest::maximumBytes, ' ');
    EXPECT_EQ(show(decode(oversized)), "unreadable");
}

TEST(UpdateManifest, EqualWhenTheVersionsAreEqual) {
    const auto a = UpdateManifest::decoded(R"({"format":1,"apps":{"dialcove":"1.2","x":"3"}})");
    const auto b = UpdateManifest::decoded(R"({"format":1,"apps":{"x":"3.0","dialcove":"1.2.0"}})");
    const auto c = UpdateManifest::decoded(R"({"format":1,"apps":{"dialcove":"1.2"}})");
    EXPECT_EQ(std::get<UpdateManifest>(a), std::get<UpdateManifest>(b));
    EXPECT_NE(std::get<UpdateManifest>(a), std::get<UpdateManifest>(c));
}

TEST(UpdateFailure, TextIsTheCaseName) {
    EXPECT_EQ(name(UpdateFailure::unreachable), "unreachable");
    EXPECT_EQ(name(UpdateFailure::unreadable), "unreadable");
    EXPECT_EQ(name(UpdateFailure::unknownFormat), "unknownFormat");
}

} // namespace
