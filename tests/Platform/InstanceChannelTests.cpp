#include "Platform/InstanceChannel.hpp"
#include "tests/support/EventLoop.hpp"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Platform::InstanceChannel;
using namespace std::chrono_literals;

// The running copy's side in this process, the second start's on a thread (it blocks).
class ChannelTest : public testing::Test {
protected:
    QString path() const { return folder.path() + "/dialcove-:7.socket"; }

    // Sends from a thread while this thread runs the event loop; the sender's result.
    InstanceChannel::Sent sendFromAnotherProcessLike(const InstanceChannel::Request& request,
                                                     std::chrono::milliseconds bound = 3000ms) {
        auto sent = std::async(std::launch::async,
                               [this, request, bound] { return InstanceChannel::send(path(), request, bound); });
        TestSupport::waitUntil([&] { return sent.wait_for(0ms) == std::future_status::ready; }, 10s);
        return sent.get();
    }

    sockaddr_un address() const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray file = QFile::encodeName(path());
        std::memcpy(address.sun_path, file.constData(), std::size_t(file.size()));
        return address;
    }

    // Writes `bytes` over a raw connection, as a client that is not a second start would.
    void sendRaw(const QByteArray& bytes) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un to = address();
        ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
        ASSERT_EQ(::write(fd, bytes.constData(), std::size_t(bytes.size())), bytes.size());
        TestSupport::waitUntil([] { return false; }, 300ms);
        ::close(fd);
    }

    QTemporaryDir folder;
    std::vector<InstanceChannel::Request> heard;
};

TEST_F(ChannelTest, ARequestReachesTheHandlerWithItsTokensAndIsAnswered) {
    InstanceChannel channel(path());
    ASSERT_TRUE(channel.listen());
    channel.setHandler([this](const InstanceChannel::Request& r) { heard.push_back(r); });

    const InstanceChannel::Sent sent = sendFromAnotherProcessLike({"wayland-token-1", "launcher_TIME42"});
    EXPECT_TRUE(sent.delivered) << sent.problem.toStdString();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].activationToken, "wayland-token-1");
    EXPECT_EQ(heard[0].startupId, "launcher_TIME42");

    // Again, with none: each request is heard once.
    EXPECT_TRUE(sendFromAnotherProcessLike({}).delivered);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_TRUE(heard[1].activationToken.isEmpty());
}

// A copy that is still starting: the socket is not there yet, then requests wait for the handler.
TEST_F(ChannelTest, ARequestToACopyThatIsStillStartingWaitsForIt) {
    auto sent = std::async(std::launch::async, [this] { return InstanceChannel::send(path(), {"t", {}}, 5s); });
    TestSupport::waitUntil([] { return false; }, 300ms);
    InstanceChannel channel(path());
    ASSERT_TRUE(channel.listen());
    TestSupport::waitUntil([] { return false; }, 300ms);
    EXPECT_TRUE(heard.empty());
    channel.setHandler([this](const InstanceChannel::Request& r) { heard.push_back(r); });
    TestSupport::waitUntil([&] { return sent.wait_for(0ms) == std::future_status::ready; }, 10s);
    EXPECT_TRUE(sent.get().delivered);
    EXPECT_EQ(heard.size(), 1u);
}

// Nobody there, or a socket left by a copy that ended: not delivered, within the bound. The next copy
// listens where the old socket was.
TEST_F(ChannelTest, NobodyListeningFailsWithinTheBoundAndALeftSocketMakesWayForTheNextCopy) {
    for (const bool leftBehind : {false, true}) {
        SCOPED_TRACE(leftBehind ? "a socket left behind" : "no socket");
        if (leftBehind) {
            // Bound, never listened on: as a copy that ended leaves it.
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const sockaddr_un at = address();
            ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at), 0);
            ::close(fd);
        }
        QElapsedTimer clock;
        clock.start();
        const InstanceChannel::Sent sent = InstanceChannel::send(path(), {}, 400ms);
        EXPECT_FALSE(sent.delivered);
        EXPECT_FALSE(sent.problem.isEmpty());
        EXPECT_GE(clock.elapsed(), 350);
        EXPECT_LT(clock.elapsed(), 2000);
    }
    InstanceChannel channel(path());
    ASSERT_TRUE(channel.listen());
    channel.setHandler([this](const InstanceChannel::Request& r) { heard.push_back(r); });
    EXPECT_TRUE(sendFromAnotherProcessLike({}).delivered);
    EXPECT_EQ(heard.size(), 1u);
}

// What is not a second start's request is dropped unheard, and the channel still serves the next.
TEST_F(ChannelTest, AnythingButAFreshRequestIsDroppedAndTheChannelGoesOn) {
    InstanceChannel channel(path());
    ASSERT_TRUE(channel.listen());
    channel.setHandler([this](const InstanceChannel::Request& r) { heard.push_back(r); });
    const std::vector<QByteArray> dropped{
        "hello\n",
        "{\"request\":\"quit\",\"until\":1e15}\n",
        // The sender gave up long ago.
        "{\"request\":\"toggle\",\"until\":0}\n",
        "[1,2]\n",
        QByteArray(InstanceChannel::maximumRequestBytes + 10, 'x'),
    };
    for (const QByteArray& bytes : dropped) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        sendRaw(bytes);
        EXPECT_TRUE(heard.empty());
    }
    EXPECT_TRUE(sendFromAnotherProcessLike({}).delivered);
    EXPECT_EQ(heard.size(), 1u);
}

TEST(InstanceChannelToken, OnlyAShortPrintableTokenTravels) {
    const std::vector<std::pair<QByteArray, QByteArray>> cases{
        {"launcher-1_TIME42", "launcher-1_TIME42"},
        {"", ""},
        {"with space", ""},
        {"line\nbreak", ""},
        {"caf\xc3\xa9", ""},
        {QByteArray(InstanceChannel::maximumTokenLength, 'a'), QByteArray(InstanceChannel::maximumTokenLength, 'a')},
        {QByteArray(InstanceChannel::maximumTokenLength + 1, 'a'), ""},
    };
    for (const auto& [token, travels] : cases)
        EXPECT_EQ(InstanceChannel::acceptedToken(token), travels) << token.toStdString();
}

} // namespace
