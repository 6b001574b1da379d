#include "Platform/X11/X11EventHub.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

// A tray embeds the icon, then lays itself out: the icon's own window never hears that it moved,
// so only the server knows where it is.
TEST(X11EventHubFrame, FollowsAWindowThatAnotherClientHoldsAndMoves) {
    X11EventHub hub;
    QWidget icon(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    const QWindow neverShown;
    EXPECT_FALSE(hub.frameOnScreen(neverShown).isValid()) << "a window the server has not seen";

    icon.setGeometry(0, 0, 22, 26);
    icon.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&icon));
    X11TestClient tray;
    const xcb_window_t trayWindow = tray.createWindow(QRect(0, 0, 120, 28));
    tray.reparent(static_cast<xcb_window_t>(icon.winId()), trayWindow, QPoint(97, 1));
    syncWithX();
    EXPECT_EQ(hub.frameOnScreen(*icon.windowHandle()), QRect(97, 1, 22, 26));

    tray.move(trayWindow, QPoint(1160, 0));
    syncWithX();
    EXPECT_EQ(hub.frameOnScreen(*icon.windowHandle()), QRect(1257, 1, 22, 26));
    EXPECT_NE(icon.mapToGlobal(QPoint(0, 0)), QPoint(1257, 1)) << "Qt's own record is what goes stale";
}

// A start that shows no window is ended by the removal alone, in a Wayland session's X server as
// in an X11 session: one message for the launcher, with the X id where the desktop gave one and the
// token otherwise, quoted, in 20-byte pieces ending in a zero ("abcdef" ends its one piece with the
// zero, "abcdefg" fills the piece, so its zero comes alone in a second).
TEST(X11EventHubStartup, EndsAStartWithOneRemovalMessage) {
    struct Case {
        WindowSystem::Activation activation;
        bool wayland;
        QByteArray heard;
    };
    const Case cases[] = {
        {{"", "launcher-7_TIME42"}, false, R"(remove: ID="launcher-7_TIME42")"},
        {{"", "abcdef"}, false, R"(remove: ID="abcdef")"},
        {{"", "abcdefg"}, false, R"(remove: ID="abcdefg")"},
        {{"", R"(my "app" \1)"}, false, R"(remove: ID="my\ \"app\"\ \\1")"},
        {{"token-9", "launcher-8_TIME43"}, true, R"(remove: ID="launcher-8_TIME43")"},
        {{"token-9", ""}, true, R"(remove: ID="token-9")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heard.constData());
        c.wayland ? qputenv("WAYLAND_DISPLAY", "wayland-test") : qunsetenv("WAYLAND_DISPLAY");
        X11EventHub hub;
        qunsetenv("WAYLAND_DISPLAY");
        ASSERT_EQ(hub.panelMode() == WindowSystem::PanelMode::managed, c.wayland);
        X11TestClient launcher;
        launcher.listenForStartupMessages();
        hub.endStartup(c.activation);
        EXPECT_TRUE(waitUntil([&] { return !launcher.startupMessages().empty(); }));
        hub.endStartup({});
        syncWithX();
        EXPECT_EQ(launcher.startupMessages(), std::vector{c.heard}) << "once, and nothing for no id";
    }
}

} // namespace
