#include "Platform/X11/X11EventHub.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"

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

} // namespace
