#include "FeedResults.hpp"
#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/TestHttpsServer.hpp"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace MurvelCommerceUpdates;
using TestSupport::describe;
using TestSupport::TestHttpsServer;
using namespace std::chrono_literals;

namespace {

struct Fetched {
    std::optional<FeedResult> result;
    std::chrono::milliseconds took{};
};

// One fetch through `feed`, waited for on the event loop.
Fetched fetchOnce(SiteUpdateFeed& feed) {
    QObject context;
    Fetched fetched;
    QElapsedTimer clock;
    clock.start();
    feed.fetch(&context, [&](FeedResult result) { fetched.result = std::move(result); });
    EXPECT_FALSE(fetched.result) << "answered before fetch returned";
    TestSupport::waitUntil([&] { return fetched.result.has_value(); }, 20s);
    fetched.took = std::chrono::milliseconds(clock.elapsed());
    return fetched;
}

SiteUpdateFeed::Settings settingsFor(const TestHttpsServer& server) {
    SiteUpdateFeed::Settings settings;
    settings.manifest = server.manifestUrl();
    settings.authorityFile = TestHttpsServer::certificateFile();
    settings.idleTimeout = 3s;
    settings.totalTimeout = 6s;
    return settings;
}

QByteArray chunked(const QByteArray& body, qsizetype chunk) {
    QByteArray out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (qsizetype at = 0; at < body.size(); at += chunk) {
        const QByteArray part = body.mid(at, chunk);
        out += QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
    }
    return out + "0\r\n\r\n";
}

TEST(SiteUpdateFeed, AnswersByStatusSizeAndTime) {
    const QByteArray manifest = R"({"format":1,"apps":{"dialcove":"99.0"}})";
    const QByteArray full(65536, 'x');
    const QByteArray over(65537, 'x');
    const QByteArray endlessChunks = "400\r\n" + QByteArray(1024, 'x') + "\r\n";
    // A head of `size` bytes in all, its last field padded, with a body of 2 bytes.
    const auto headOf = [](qsizetype size) {
        const QByteArray start = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-Pad: ";
        return start + QByteArray(size - start.size() - 4, 'p') + "\r\n\r\n{}";
    };
    const QByteArray chunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    // To a page on the same server, which would then see a second request.
    const QByteArray redirect = "Location: /downloads/moved.json\r\n";
    struct Case {
        const char* name;
        std::function<TestHttpsServer::Script(TestHttpsServer&)> script;
        std::string outcome; // as describe() gives it
        int requests = 1;
        bool closedEarly = false;
        std::function<void(SiteUpdateFeed::Settings&)> adjust = nullptr;
        const char* certificate = "localhost";
    };
    const Case cases[] = {
        {"200", [&](auto& s) { return s.answer(200, {}, manifest); },
         "bytes:" + std::to_string(manifest.size())},
        {"exactly the limit", [&](auto& s) { return s.answer(200, {}, full); }, "bytes:65536"},
        {"one past the limit", [&](auto& s) { return s.answer(200, {}, over); }, "unreadable"},
        {"the limit, to the close", [&](auto& s) { return s.answer("HTTP/1.0 200 OK\r\n\r\n" + full); },
         "bytes:65536"},
        {"past the limit, to the close", [&](auto& s) { return s.answer("HTTP/1.0 200 OK\r\n\r\n" + over); },
         "unreadable"},
        {"the limit, chunked", [&](auto& s) { return s.answer(chunked(full, 1000)); }, "bytes:65536"},
        {"past the limit, chunked", [&](auto& s) { return s.answer(chunked(over, 7000)); }, "unreadable"},
        {"endless chunked body",
         [&](auto& s) {
             return s.stream("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", endlessChunks);
         },
         "unreadable", 1, true},
        {"endless body to the close",
         [&](auto& s) { return s.stream("HTTP/1.0 200 OK\r\n\r\n", QByteArray(4096, 'x')); }, "unreadable", 1,
         true},
        {"empty body", [&](auto& s) { return s.answer(200, {}, {}); }, "bytes:0"},
        {"interim answer first",
         [&](auto& s) {
             return s.answer("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}");
         },
         "bytes:2"},
        {"301", [&](auto& s) { return s.answer(301, redirect, {}); }, "unreachable"},
        {"302", [&](auto& s) { return s.answer(302, redirect, {}); }, "unreachable"},
        {"307", [&](auto& s) { return s.answer(307, redirect, {}); }, "unreachable"},
        {"308", [&](auto& s) { return s.answer(308, redirect, manifest); }, "unreachable"},
        {"204", [&](auto& s) { return s.answer("HTTP/1.1 204 No Content\r\n\r\n"); }, "unreachable"},
        {"206", [&](auto& s) { return s.answer(206, "Content-Range: bytes 0-1/2\r\n", "{}"); },
         "unreachable"},
        {"304", [&](auto& s) { return s.answer("HTTP/1.1 304 Not Modified\r\n\r\n"); }, "unreachable"},
        {"404", [&](auto& s) { return s.answer(404, {}, manifest); }, "unreachable"},
        {"500", [&](auto& s) { return s.answer(500, {}, manifest); }, "unreachable"},
        {"404 with a huge body", [&](auto& s) { return s.answer(404, {}, over); }, "unreachable"},
        {"not HTTP", [&](auto& s) { return s.answer("SSH-2.0-OpenSSH_9.2\r\n\r\n"); }, "unreachable"},
        {"closed in the body",
         [&](auto& s) { return s.answer("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{}"); },
         "unreachable"},
        {"closed before answering", [&](auto& s) { return s.answer(QByteArray()); }, "unreachable"},
        {"untrusted certificate", [&](auto& s) { return s.answer(200, {}, manifest); }, "unreachable", 0,
         false, [](auto& settings) { settings.authorityFile.clear(); }},
        {"certificate for another host", [&](auto& s) { return s.answer(200, {}, manifest); }, "unreachable",
         0, false,
         [](auto& settings) { settings.authorityFile = TestHttpsServer::certificateFile("other-host"); },
         "other-host"},
        {"not https", [&](auto& s) { return s.answer(200, {}, manifest); }, "unreachable", 0, false,
         [](auto& settings) { settings.manifest.setScheme(QStringLiteral("http")); }},
        {"silence past the idle time-out", [&](auto&) { return TestHttpsServer::silence(); }, "unreachable",
         1, false, [](auto& settings) { settings.idleTimeout = 300ms; }},
        {"a drip past the total time-out",
         [&](auto& s) { return s.drip("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}", 40ms); },
         "unreachable", 1, true,
         [](auto& settings) {
             settings.idleTimeout = 500ms;
             settings.totalTimeout = 1s;
         }},
        {"endless header line",
         [&](auto& s) { return s.stream("HTTP/1.1 200 OK\r\nX-Endless: ", QByteArray(4096, 'a')); },
         "unreachable", 1, true},
        {"endless header fields",
         [&](auto& s) { return s.stream("HTTP/1.1 200 OK\r\n", QByteArray("X-Field: a\r\n").repeated(300)); },
         "unreachable", 1, true},
        {"endless status line", [&](auto& s) { return s.stream("HTTP/1.1 200 ", QByteArray(4096, 'a')); },
         "unreachable", 1, true},
        {"endless interim answers",
         [&](auto& s) { return s.stream({}, QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(100)); },
         "unreachable", 1, true},
        {"head at the limit", [&](auto& s) { return s.answer(headOf(65536)); }, "bytes:2"},
        {"head one past the limit", [&](auto& s) { return s.answer(headOf(65537)); }, "unreachable"},
        {"trailers past the head's limit",
         [&](auto& s) {
             const QByteArray trailer = "X-Trailer: " + QByteArray(3000, 't') + "\r\n";
             return s.answer(
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nX-Pad: " + QByteArray(60000, 'p') +
                 "\r\n\r\n2\r\n{}\r\n0\r\n" + trailer + trailer + "\r\n");
         },
         "unreachable"},
        {"chunk size not hexadecimal",
         [&](auto& s) { return s.answer(chunkedHead + "xyz\r\n{}\r\n0\r\n\r\n"); }, "unreachable"},
        {"closed in a chunk", [&](auto& s) { return s.answer(chunkedHead + "5\r\n{}"); }, "unreachable"},
    };
    for (const Case& c : cases) {
        TestHttpsServer server(QString::fromLatin1(c.certificate));
        server.setScript(c.script(server));
        SiteUpdateFeed::Settings settings = settingsFor(server);
        if (c.adjust)
            c.adjust(settings);
        SiteUpdateFeed feed(settings);
        const Fetched fetched = fetchOnce(feed);
        ASSERT_TRUE(fetched.result) << c.name << ": no answer";
        EXPECT_EQ(describe(*fetched.result), c.outcome) << c.name;
        TestSupport::waitUntil([&] { return !c.closedEarly || server.clientClosedEarly(); }, 2s);
        EXPECT_EQ(server.requests().size(), c.requests) << c.name;
        EXPECT_EQ(server.clientClosedEarly(), c.closedEarly) << c.name;
        EXPECT_LT(fetched.took, settings.totalTimeout + 1s) << c.name;
        if (c.closedEarly)
            std::cout << c.name << ": the server wrote " << server.bytesWritten() << " bytes\n";
    }
}

TEST(SiteUpdateFeed, ReturnsTheBytesAsSent) {
    const QByteArray body =
        QByteArray(R"({"format":1,"apps":{"dialcove":"99.0"}})") + QByteArray("\0\xff\r\n", 4);
    TestHttpsServer server;
    server.setScript(server.answer(200, {}, body));
    SiteUpdateFeed feed(settingsFor(server));
    const Fetched fetched = fetchOnce(feed);
    ASSERT_TRUE(fetched.result && std::holds_alternative<QByteArray>(*fetched.result));
    EXPECT_EQ(std::get<QByteArray>(*fetched.result), body);
}

TEST(SiteUpdateFeed, TimeOutsTellSilenceFromADrip) {
    TestHttpsServer server;
    server.setScript(TestHttpsServer::silence());
    SiteUpdateFeed::Settings settings = settingsFor(server);
    settings.idleTimeout = 300ms;
    settings.totalTimeout = 10s;
    SiteUpdateFeed silent(settings);
    const Fetched quiet = fetchOnce(silent);
    EXPECT_EQ(describe(*quiet.result), "unreachable");
    EXPECT_GE(quiet.took, 300ms);
    EXPECT_LT(quiet.took, 3s) << "the idle time-out ends it, not the total one";

    // Each byte restarts the idle time-out; the total one still ends the fetch.
    server.setScript(
        server.drip("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + QByteArray(100, ' '), 50ms));
    settings.idleTimeout = 400ms;
    settings.totalTimeout = 1500ms;
    SiteUpdateFeed dripping(settings);
    const Fetched slow = fetchOnce(dripping);
    EXPECT_EQ(describe(*slow.result), "unreachable");
    EXPECT_GE(slow.took, 1500ms);
    EXPECT_LT(slow.took, 4s);
}

TEST(SiteUpdateFeed, SendsExactlyItsHeadersAndKeepsNothing) {
    TestHttpsServer server;
    server.setScript(server.answer(200,
                                   "Set-Cookie: session=abc; Path=/; Max-Age=3600\r\n"
                                   "Cache-Control: max-age=3600\r\n"
                                   "ETag: \"v1\"\r\n"
                                   "Last-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n",
                                   R"({"format":1,"apps":{}})"));
    SiteUpdateFeed feed(settingsFor(server));
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(describe(*fetchOnce(feed).result), "bytes:22");
    EXPECT_EQ(server.connections(), 2) << "a new connection for each fetch";
    ASSERT_EQ(server.requests().size(), 2) << "the second fetch reaches the server: nothing is cached";
    const QByteArray expected = "GET /downloads/versions.json HTTP/1.1\r\n"
                                "Host: 127.0.0.1:" +
                                QByteArray::number(server.port()) +
                                "\r\n"
                                "User-Agent: MurvelWorks\r\n"
                                "Accept: application/json\r\n"
                                "Accept-Language: *\r\n"
                                "Connection: close\r\n"
                                "\r\n";
    // No Cookie, no If-None-Match or If-Modified-Since, no Accept-Encoding: exactly these lines.
    EXPECT_EQ(server.requests()[0], expected);
    EXPECT_EQ(server.requests()[1], expected);
}

TEST(SiteUpdateFeed, DefaultsAreTheSitesManifestAndItsTimeOuts) {
    const SiteUpdateFeed feed;
    EXPECT_EQ(feed.settings().idleTimeout, 15s);
    EXPECT_EQ(feed.settings().totalTimeout, 30s);
    EXPECT_TRUE(feed.settings().authorityFile.isEmpty()) << "the system's trust store";
    const auto site = MurvelCommerceUpdatesCore::UpdateSite::current().site;
    EXPECT_EQ(feed.settings().manifest, QUrl(QString::fromStdString(site) + "/downloads/versions.json"));
    EXPECT_EQ(feed.settings().manifest.scheme(), QStringLiteral("https"));
}

TEST(SiteUpdateFeed, ADestroyedContextAbandonsTheFetch) {
    TestHttpsServer server;
    server.setScript(TestHttpsServer::silence());
    SiteUpdateFeed feed(settingsFor(server));
    bool called = false;
    {
        QObject context;
        feed.fetch(&context, [&](FeedResult) { called = true; });
        ASSERT_TRUE(TestSupport::waitUntil([&] { return server.requests().size() == 1; }));
    }
    TestSupport::drainEvents();
    EXPECT_FALSE(called);
}

} // namespace
