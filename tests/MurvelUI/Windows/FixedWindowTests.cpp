#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Windows/FixedWindow.hpp"
#include "MurvelUI/Windows/FixedWindowContent.hpp"
#include "MurvelUI/Windows/FixedWindowGeometry.hpp"
#include "MurvelUI/Windows/ScrollEdgeStrip.hpp"
#include "TwoScreens.hpp"
#include "tests/support/EventLoop.hpp"

#include <QCursor>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

using MurvelUI::FixedWindow;
using MurvelUI::FixedWindowGeometry;
using MurvelUI::MurvelEnvironment;
using TestSupport::drainEvents;

namespace {

// Content that reports what a test tells it to, as a non-scrolling window's content does.
struct ReportingContent {
    QWidget* widget = nullptr;
    void report(QSizeF size) const {
        const auto& sink = MurvelEnvironment::of(widget)->fixedWindowIdealSize();
        ASSERT_TRUE(sink.has_value());
        sink->report(size);
    }
};

// Content of a given height that asks for it through its layout, as a scrolling window measures.
class TallContent final : public QWidget {
public:
    explicit TallContent(int height) : height_(height) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
        layout->addStretch();
    }
    void setContentHeight(int height) {
        height_ = height;
        updateGeometry();
        layout()->invalidate();
    }
    QSize sizeHint() const override { return {560, height_}; }
    QLineEdit* edit;

private:
    int height_;
};

QPoint centreOf(const QRect& area) {
    return area.center();
}

QRect frameOf(const QWidget* window) {
    return window->frameGeometry();
}

// The frame's centre lies on the area's centre (within the rounding of halves).
::testing::AssertionResult centredOn(const QWidget* window, const QRect& area) {
    const QRect frame = frameOf(window);
    const QPoint expected = FixedWindowGeometry::centeredOrigin(frame.size(), area);
    if (frame.topLeft() == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "frame at " << frame.x() << "," << frame.y() << " size " << frame.width() << "x"
           << frame.height() << ", expected at " << expected.x() << "," << expected.y();
}

class FixedWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QCursor::setPos(centreOf(WindowTest::primaryArea)); }

    QWidget* showReporting(FixedWindow& window, ReportingContent& content,
                           std::function<void()> onClose = {}) {
        return window.show(QStringLiteral("Steps"), 560, std::move(onClose), [&content] {
            content.widget = new QWidget;
            return content.widget;
        });
    }
};

TEST_F(FixedWindowTest, ShowsCentredOnTheScreenUnderThePointer) {
    QCursor::setPos(centreOf(WindowTest::secondArea));
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    drainEvents();
    EXPECT_EQ(native->screen(), WindowTest::screenNamed("second"));
    EXPECT_TRUE(centredOn(native, WindowTest::secondArea));
    EXPECT_EQ(native->size(), QSize(560, 480));
    EXPECT_FALSE(native->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_FALSE(native->testAttribute(Qt::WA_DeleteOnClose));
}

TEST_F(FixedWindowTest, IsCentredAgainAfterTheFirstReportOnly) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    drainEvents();
    EXPECT_TRUE(centredOn(native, WindowTest::primaryArea));
    EXPECT_TRUE(window.centersAfterResize());

    content.report({560, 301});
    drainEvents();
    EXPECT_EQ(native->height(), 304);
    EXPECT_TRUE(centredOn(native, WindowTest::primaryArea));
    EXPECT_FALSE(window.centersAfterResize());

    // Later reports keep the top edge where it is.
    const int top = frameOf(native).top();
    content.report({560, 400});
    drainEvents();
    EXPECT_EQ(native->height(), 400);
    EXPECT_EQ(frameOf(native).top(), top);
}

TEST_F(FixedWindowTest, ReportsOfOneTurnWriteTheFrameOnceWithTheLastSize) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    drainEvents();
    const int before = window.frameWrites();

    content.report({560, 200});
    content.report({560, 0});
    content.report({560, 260});
    content.report({560, 320});
    EXPECT_EQ(window.frameWrites(), before);
    drainEvents();
    EXPECT_EQ(window.frameWrites(), before + 1);
    EXPECT_EQ(native->height(), 320);

    // The same size again writes nothing.
    content.report({560, 318});
    drainEvents();
    EXPECT_EQ(window.frameWrites(), before + 1);
}

TEST_F(FixedWindowTest, DroppedReportsChangeNothing) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    showReporting(window, content);
    drainEvents();
    content.report({0, 300});
    content.report({560, -1});
    content.report({std::numeric_limits<double>::infinity(), 300});
    content.report({560, std::numeric_limits<double>::quiet_NaN()});
    drainEvents();
    EXPECT_FALSE(window.contentSize().has_value());
    EXPECT_TRUE(window.centersAfterResize());
}

TEST_F(FixedWindowTest, AScreenChangeCapsTheHeightForTheNewScreen) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    content.report({560, 900});
    drainEvents();
    const QMargins margins(native->geometry().left() - frameOf(native).left(),
                           native->geometry().top() - frameOf(native).top(), 0, 0);
    EXPECT_EQ(native->height(), 800 - 64);

    native->windowHandle()->setScreen(WindowTest::screenNamed("second"));
    drainEvents();
    EXPECT_EQ(native->height(), 700 - 64);
    EXPECT_TRUE(WindowTest::secondArea.contains(frameOf(native)));
    EXPECT_LE(frameOf(native).height(), 700);
    (void)margins;
}

TEST_F(FixedWindowTest, ShowingAVisibleWindowMovesNothing) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    content.report({560, 300});
    drainEvents();
    native->move(frameOf(native).topLeft() + QPoint(40, 30));
    drainEvents();
    const QRect placed = frameOf(native);
    const int writes = window.frameWrites();

    QCursor::setPos(centreOf(WindowTest::secondArea));
    int builds = 0;
    window.show(QStringLiteral("Ignored"), 900, {}, [&builds] {
        ++builds;
        return new QWidget;
    });
    drainEvents();
    EXPECT_EQ(frameOf(native), placed);
    EXPECT_EQ(window.frameWrites(), writes);
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(native->windowTitle(), QStringLiteral("Steps"));
}

TEST_F(FixedWindowTest, AHiddenWindowReopensAtItsSizeOnThePointersScreen) {
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    content.report({560, 900});
    drainEvents();
    native->close();
    QCursor::setPos(centreOf(WindowTest::secondArea));
    showReporting(window, content);
    drainEvents();
    EXPECT_EQ(native->height(), 700 - 64);
    EXPECT_TRUE(centredOn(native, WindowTest::secondArea));
}

TEST_F(FixedWindowTest, ControlWClosesAndOtherModifiersDoNot) {
    int closes = 0;
    FixedWindow window(true, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content, [&closes] { ++closes; });
    drainEvents();

    QTest::keyClick(native, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(native, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(native, Qt::Key_W, Qt::MetaModifier);
    EXPECT_TRUE(native->isVisible());
    QTest::keyClick(native, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(native->isVisible());
    EXPECT_EQ(closes, 1);

    // Closing a closed window closes nothing.
    native->close();
    EXPECT_EQ(closes, 1);
}

TEST_F(FixedWindowTest, WithoutTheFlagControlWIsPassedOn) {
    FixedWindow window(false, true, false);
    ReportingContent content;
    QWidget* native = showReporting(window, content);
    drainEvents();
    QTest::keyClick(native, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(native->isVisible());
}

TEST_F(FixedWindowTest, EscapeFirstEndsEditingThenCloses) {
    int closes = 0;
    FixedWindow window(true, true, true);
    TallContent* content = nullptr;
    QWidget* native = window.show(
        QStringLiteral("Preferences"), 560, [&closes] { ++closes; },
        [&content] {
            content = new TallContent(300);
            return content;
        });
    drainEvents();
    native->activateWindow();
    content->edit->setFocus();
    QTest::keyClicks(content->edit, QStringLiteral("typed"));
    ASSERT_TRUE(content->edit->hasFocus());

    QTest::keyClick(content->edit, Qt::Key_Escape);
    EXPECT_FALSE(content->edit->hasFocus());
    EXPECT_TRUE(native->isVisible());
    EXPECT_EQ(content->edit->text(), QStringLiteral("typed"));

    QTest::keyClick(native, Qt::Key_Escape);
    EXPECT_FALSE(native->isVisible());
    EXPECT_EQ(closes, 1);

    // The next show runs the newest onClose, once per close.
    int laterCloses = 0;
    window.show(QStringLiteral("Preferences"), 560, [&laterCloses] { ++laterCloses; }, {});
    drainEvents();
    QTest::keyClick(native, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(laterCloses, 1);
}

TEST_F(FixedWindowTest, AScrollingWindowMeasuresItsContentAndFadesInTheEdgeStripWhileScrolled) {
    FixedWindow window(true, true, true);
    TallContent* content = nullptr;
    QWidget* native = window.show(QStringLiteral("Preferences"), 560, {}, [&content] {
        content = new TallContent(301);
        return content;
    });
    drainEvents();
    ASSERT_TRUE(window.contentSize().has_value());
    EXPECT_EQ(window.contentSize()->height(), 301);
    EXPECT_EQ(native->size(), QSize(560, 304));
    EXPECT_TRUE(centredOn(native, WindowTest::primaryArea));

    // Taller than the screen allows: capped, and scrolling shows the separator.
    content->setContentHeight(2000);
    drainEvents();
    EXPECT_EQ(native->height(), 800 - 64);
    MurvelUI::FixedWindowContent* host = window.windowContent();
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->isScrolled());
    MurvelUI::ScrollEdgeStrip* strip = host->edgeStrip();
    EXPECT_FALSE(strip->isVisible());
    host->scrollArea()->verticalScrollBar()->setValue(200);
    EXPECT_TRUE(host->isScrolled());
    EXPECT_TRUE(strip->isShown());
    // The window's top 28 points, over the content, fading in rather than there at once.
    EXPECT_EQ(strip->geometry(), QRect(0, 0, 560, 28));
    EXPECT_LT(strip->opacity(), 1);
    EXPECT_TRUE(strip->testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip->opacity() == 1; }, 1000));
    EXPECT_TRUE(strip->isVisible());
    // Its bottom line is the separator; above it the bar shows the window's colour.
    const QImage image = strip->grab().toImage();
    EXPECT_NE(image.pixelColor(280, 27), image.pixelColor(280, 10));
    host->scrollArea()->verticalScrollBar()->setValue(0);
    EXPECT_FALSE(strip->isShown());
    EXPECT_TRUE(strip->isVisible()) << "it fades out";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !strip->isVisible(); }, 1000));
    EXPECT_EQ(strip->opacity(), 0);
    EXPECT_EQ(host->measuredWidth(), 560);
}

} // namespace
