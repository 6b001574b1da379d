#include "MurvelUI/Windows/FixedWindowGeometry.hpp"

#include <gtest/gtest.h>
#include <limits>

using MurvelUI::FixedWindowGeometry;

namespace {

struct FrameCase {
    const char* name;
    QSizeF content;
    QRect visible;
    QRect current;
    QMargins margins;
    bool anchorsTop;
    QRect expected;
};

const QMargins titleBar(0, 28, 0, 0);

// Frames in Qt's coordinates: y grows down, so "keep the top" keeps y.
const FrameCase frameCases[] = {
    {"301 rounds up to 304",
     {560, 301},
     {0, 0, 1280, 800},
     {360, 100, 560, 508},
     titleBar,
     true,
     {360, 100, 560, 332}},
    {"300 stays 300",
     {560, 300},
     {0, 0, 1280, 800},
     {360, 100, 560, 508},
     titleBar,
     true,
     {360, 100, 560, 328}},
    {"900 on a visible height of 700 is capped at 636",
     {560, 900},
     {0, 0, 1280, 700},
     {360, 0, 560, 508},
     titleBar,
     true,
     {360, 0, 560, 664}},
    {"the frame is never taller than the visible height",
     {560, 900},
     {0, 0, 1280, 700},
     {360, 0, 560, 508},
     QMargins(0, 100, 0, 20),
     true,
     {360, 0, 560, 700}},
    {"a visible height of 60 caps the content at 1",
     {560, 300},
     {0, 0, 1280, 60},
     {0, 0, 560, 20},
     {},
     true,
     {0, 0, 560, 1}},
    {"wider than the screen: its width, at its left edge",
     {1400, 300},
     {100, 0, 1280, 800},
     {0, 0, 560, 300},
     {},
     true,
     {100, 0, 1280, 300}},
    {"top-anchored grows down from its top",
     {560, 400},
     {0, 0, 1280, 800},
     {360, 100, 560, 200},
     {},
     true,
     {360, 100, 560, 400}},
    {"top-anchored at the bottom moves up",
     {560, 400},
     {0, 0, 1280, 800},
     {360, 600, 560, 200},
     {},
     true,
     {360, 400, 560, 400}},
    {"centre-anchored grows both ways",
     {560, 400},
     {0, 0, 1280, 800},
     {360, 300, 560, 200},
     {},
     false,
     {360, 200, 560, 400}},
    {"the horizontal centre stays",
     {400, 200},
     {0, 0, 1280, 800},
     {360, 300, 560, 200},
     {},
     false,
     {440, 300, 400, 200}},
    {"on a second screen, inside its visible area",
     {560, 900},
     {1280, 0, 1024, 700},
     {1000, 50, 560, 500},
     {},
     true,
     {1280, 50, 560, 636}},
};

TEST(FixedWindowGeometry, FramesFollowTheContentInsideTheVisibleArea) {
    for (const FrameCase& c : frameCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FixedWindowGeometry::frame(c.content, c.visible, c.current, c.margins, c.anchorsTop),
                  c.expected);
    }
}

TEST(FixedWindowGeometry, OnlyFiniteSizesAboveZeroAreTaken) {
    const double infinity = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double subnormal = std::numeric_limits<double>::denorm_min();
    const struct {
        QSizeF size;
        bool taken;
    } cases[] = {{{560, 300}, true},  {{subnormal, subnormal}, true}, {{0, 300}, false},
                 {{560, -1}, false},  {{infinity, 300}, false},       {{560, nan}, false},
                 {{nan, nan}, false}, {{-infinity, 1}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width() << " x " << c.size.height());
        EXPECT_EQ(FixedWindowGeometry::acceptsContentSize(c.size), c.taken);
    }
}

TEST(FixedWindowGeometry, CentringRoundsHalvesAwayFromZeroAndDoesNotClamp) {
    EXPECT_EQ(FixedWindowGeometry::centeredOrigin({560, 508}, {0, 0, 1280, 800}), QPoint(360, 146));
    EXPECT_EQ(FixedWindowGeometry::centeredOrigin({561, 509}, {0, 0, 1280, 800}), QPoint(360, 146));
    EXPECT_EQ(FixedWindowGeometry::centeredOrigin({561, 509}, {-1280, 0, 1280, 800}), QPoint(-921, 146));
    EXPECT_EQ(FixedWindowGeometry::centeredOrigin({1400, 900}, {0, 0, 1280, 800}), QPoint(-60, -50));
}

} // namespace
