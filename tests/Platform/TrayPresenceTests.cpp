#include "Platform/Desktop/TrayPresence.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "X11TestClient.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/PrivateBus.hpp"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using TestSupport::waitUntil;

// A StatusNotifierWatcher that says whether a host is registered, as a desktop's tray does.
class FakeWatcher final : public QDBusVirtualObject {
public:
    explicit FakeWatcher(QDBusConnection bus) : bus_(std::move(bus)) {
        bus_.registerVirtualObject(Platform::TrayPresence::watcherPath, this);
    }
    ~FakeWatcher() override { bus_.unregisterObject(Platform::TrayPresence::watcherPath); }

    void setHost(bool registered) {
        host_ = registered;
        bus_.send(QDBusMessage::createSignal(
            Platform::TrayPresence::watcherPath, QStringLiteral("org.kde.StatusNotifierWatcher"),
            registered ? QStringLiteral("StatusNotifierHostRegistered") : QStringLiteral("StatusNotifierHostUnregistered")));
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Get"))
            return false;
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(host_))));
        return true;
    }

private:
    QDBusConnection bus_;
    bool host_ = false;
};

// The display's tray: a client owns _NET_SYSTEM_TRAY_S0 and goes; the presence follows within its
// interval, and reports each change once.
TEST(TrayPresence, FollowsAnXEmbedTrayComingAndGoing) {
    Platform::X11EventHub hub;
    X11TestClient tray;
    Platform::TrayPresence presence([&hub] { return hub.systemTrayRunning(); }, QDBusConnection("no bus"), 50ms);
    std::vector<bool> changes;
    QObject::connect(&presence, &Platform::TrayPresence::availableChanged,
                     [&](bool available) { changes.push_back(available); });
    EXPECT_FALSE(presence.isAvailable());

    const xcb_window_t owner = tray.claimSelection("_NET_SYSTEM_TRAY_S0");
    EXPECT_TRUE(waitUntil([&] { return presence.isAvailable(); }, 2s));
    tray.destroyWindow(owner);
    EXPECT_TRUE(waitUntil([&] { return !presence.isAvailable(); }, 2s));
    TestSupport::waitUntil([] { return false; }, 200ms);
    EXPECT_EQ(changes, (std::vector{true, false}));
}

// The bus's tray: a watcher with a host registered, the host leaving, the watcher leaving the bus.
TEST(TrayPresence, FollowsAStatusNotifierHostOnTheSessionBus) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection desktop = bus.connect();
    auto watcher = std::make_unique<FakeWatcher>(desktop);
    watcher->setHost(true);
    ASSERT_TRUE(desktop.registerService(Platform::TrayPresence::watcherService));

    Platform::TrayPresence presence([] { return false; }, bus.connect(), 10s);
    EXPECT_TRUE(waitUntil([&] { return presence.isAvailable(); }, 3s)) << "a host there at the start";
    watcher->setHost(false);
    EXPECT_TRUE(waitUntil([&] { return !presence.isAvailable(); }, 3s)) << "the host unregistered";
    watcher->setHost(true);
    EXPECT_TRUE(waitUntil([&] { return presence.isAvailable(); }, 3s)) << "a host registered later";
    desktop.unregisterService(Platform::TrayPresence::watcherService);
    EXPECT_TRUE(waitUntil([&] { return !presence.isAvailable(); }, 3s)) << "the watcher left the bus";
}

} // namespace
