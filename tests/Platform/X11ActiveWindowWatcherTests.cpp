#include "Platform/X11/X11ActiveWindowWatcher.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(ActiveWindowWatcher, ReportsEachChangeOnce) {
    X11TestClient windowManager;
    windowManager.setRootWindowProperty("_NET_ACTIVE_WINDOW", 0x200001);
    X11EventHub hub;
    X11ActiveWindowWatcher watcher(hub);
    EXPECT_EQ(watcher.activeWindow(), 0x200001u);

    std::vector<quint32> reported;
    QObject::connect(&watcher, &X11ActiveWindowWatcher::activeWindowChanged,
                     [&](quint32 window) { reported.push_back(window); });
    // The property is read when its change is handled; write the next value after that.
    for (xcb_window_t window : {0x300001u, 0x300001u, 0x400001u, 0u}) {
        windowManager.setRootWindowProperty("_NET_ACTIVE_WINDOW", window);
        syncWithX();
    }
    EXPECT_EQ(reported, (std::vector<quint32>{0x300001, 0x400001, 0}));
    EXPECT_EQ(watcher.activeWindow(), 0u);

    // Other root properties are not the active window.
    windowManager.setRootWindowProperty("_NET_CLIENT_LIST", 0x300001);
    syncWithX();
    EXPECT_EQ(reported.size(), 3u);
}

} // namespace
