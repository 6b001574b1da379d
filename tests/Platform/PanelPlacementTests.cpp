#include "Platform/Desktop/PanelAnchor.hpp"
#include "Platform/Desktop/PanelPlacement.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

// A 1920x1080 screen with a 28-high bar along the top, where the tray sits.
const PanelScreen topBar{{0, 0, 1920, 1080}, {0, 28, 1920, 1052}};
// A 1280x800 screen with a 40-high taskbar along the bottom.
const PanelScreen bottomTaskbar{{0, 0, 1280, 800}, {0, 0, 1280, 760}};
// A phone-like screen narrower than the panel and its margins.
const PanelScreen narrow{{0, 0, 320, 640}, {0, 0, 320, 640}};

TEST(PanelPlacement, UnderTheAnchorAndInsideTheScreen) {
    const struct {
        const char* name;
        QRect anchor;
        int contentHeight;
        std::optional<PanelScreen> screen;
        QRect frame;
    } cases[] = {
        {"centred under a tray icon", {900, 0, 24, 28}, 400, topBar, {728, 36, 368, 400}},
        {"near the right edge", {1880, 0, 24, 28}, 400, topBar, {1544, 36, 368, 400}},
        {"near the left edge", {10, 0, 24, 28}, 400, topBar, {8, 36, 368, 400}},
        {"taller than the screen allows", {900, 0, 24, 28}, 5000, topBar, {728, 36, 368, 1020}},
        {"anchored low on the screen", {900, 1000, 24, 20}, 400, topBar, {728, 672, 368, 400}},
        {"in a taskbar at the bottom", {1200, 770, 24, 24}, 300, bottomTaskbar, {904, 452, 368, 300}},
        {"tall in a taskbar at the bottom", {1200, 770, 24, 24}, 900, bottomTaskbar, {904, 24, 368, 728}},
        {"on a narrow screen: the left margin wins", {160, 0, 0, 0}, 200, narrow, {8, 8, 368, 200}},
        {"without any screen", {0, 0, 0, 0}, 2000, std::nullopt, {8, 8, 368, 868}},
        {"no content yet", {900, 0, 24, 28}, 0, topBar, {728, 36, 368, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PanelPlacement::frame(c.anchor, c.contentHeight, c.screen), c.frame) << c.name;
}

TEST(PanelPlacement, TheScreenOfTheAnchorAndItsHeightCap) {
    const PanelScreen left{{0, 0, 1920, 1080}, {0, 28, 1920, 1052}};
    const PanelScreen right{{1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}};
    const std::vector<PanelScreen> screens{left, right};
    const struct {
        const char* name;
        QRect anchor;
        std::optional<PanelScreen> main;
        std::optional<PanelScreen> chosen;
    } cases[] = {
        {"on the second screen", {2000, 0, 24, 24}, left, right},
        {"across both: the first in order", {1910, 0, 24, 24}, right, left},
        {"a point on the second screen", {1920, 10, 0, 0}, left, right},
        {"off every screen: the main one", {-500, -500, 10, 10}, right, right},
        {"off every screen and no main one", {-500, -500, 10, 10}, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PanelPlacement::screenFor(c.anchor, screens, c.main), c.chosen) << c.name;

    EXPECT_EQ(PanelPlacement::maximumHeight(left), 1020);
    EXPECT_EQ(PanelPlacement::maximumHeight(std::nullopt), 868);
    EXPECT_EQ(PanelPlacement::maximumHeight(PanelScreen{{0, 0, 100, 20}, {0, 0, 100, 20}}), 0);
}

TEST(PanelPlacement, ReadsTheScreensQtKnows) {
    // Xvfb's one 1280x800 screen, with nothing reserved along its edges.
    const std::optional<PanelScreen> screen = PanelPlacement::screenFor(QRect(640, 0, 0, 0));
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(screen->frame, QRect(0, 0, 1280, 800));
    EXPECT_EQ(PanelPlacement::mainScreen(), screen);
}

TEST(PanelAnchor, TrayIconThenClickThenLastThenScreenTop) {
    using S = PanelAnchor::Source;
    const QRect screen{0, 28, 1920, 1052};
    const PanelAnchor::Choice lastIcon{{1800, 0, 24, 28}, S::trayIcon, {1800, 0, 24, 28}};
    const struct {
        const char* name;
        QRect trayGeometry;
        std::optional<QPoint> click;
        std::optional<PanelAnchor::Choice> previous;
        PanelAnchor::Choice expected;
    } cases[] = {
        {"the tray says where its icon is",
         {1700, 0, 24, 28},
         QPoint(1710, 10),
         lastIcon,
         {{1700, 0, 24, 28}, S::trayIcon, {1700, 0, 24, 28}}},
        {"a tray without geometry: the click",
         {},
         QPoint(1710, 10),
         lastIcon,
         {{1710, 10, 0, 0}, S::trayClick, {1698, -2, 24, 24}}},
        {"a zero-sized geometry counts as none",
         {1700, 0, 0, 0},
         QPoint(1710, 10),
         std::nullopt,
         {{1710, 10, 0, 0}, S::trayClick, {1698, -2, 24, 24}}},
        {"the hot key after a tray anchor",
         {},
         std::nullopt,
         lastIcon,
         {{1800, 0, 24, 28}, S::previous, {1800, 0, 24, 28}}},
        {"no tray at all", {}, std::nullopt, std::nullopt, {{960, 28, 0, 0}, S::screenTop, {}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PanelAnchor::choose(c.trayGeometry, c.click, c.previous, screen), c.expected) << c.name;
}

TEST(PanelAnchor, RemembersTrayAnchorsForTheHotKey) {
    PanelAnchor anchor;
    // No tray anchor yet: the top centre of the screen under the pointer.
    EXPECT_EQ(anchor.resolve(QRect(), false).rect, QRect(640, 0, 0, 0));
    EXPECT_FALSE(anchor.previous().has_value());

    QCursor::setPos(1000, 790);
    ASSERT_TRUE(QTest::qWaitFor([] { return QCursor::pos() == QPoint(1000, 790); }, 5000));
    const PanelAnchor::Choice click = anchor.resolve(QRect(), true);
    EXPECT_EQ(click.rect, QRect(1000, 790, 0, 0));
    EXPECT_EQ(click.source, PanelAnchor::Source::trayClick);

    const PanelAnchor::Choice hotKey = anchor.resolve(QRect(), false);
    EXPECT_EQ(hotKey.source, PanelAnchor::Source::previous);
    EXPECT_EQ(hotKey.rect, click.rect);
    EXPECT_EQ(hotKey.trayArea, click.trayArea);
}

} // namespace
