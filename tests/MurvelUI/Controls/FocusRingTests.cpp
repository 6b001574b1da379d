#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Cards/InlineNotice.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/BrandFocusSession.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

// A control that paints nothing and counts the presses it receives.
class Target final : public QWidget {
public:
    explicit Target(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::TabFocus); }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
};

// A shown, active window holding one control at (20, 20), 80 by 24, on a canvas that paints no
// background of its own.
struct Fixture {
    QWidget window;
    QWidget* canvas = new QWidget(&window);
    Target* control = new Target(canvas);

    Fixture() {
        window.resize(140, 80);
        canvas->setGeometry(0, 0, 140, 80);
        control->setGeometry(20, 20, 80, 24);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    MurvelEnvironment* environment() { return MurvelEnvironment::of(&window); }
};

TEST(BrandFocusSession, StartsUnusedAndComparesByValue) {
    EXPECT_FALSE(BrandFocusSession{}.keyboardUsed);
    EXPECT_EQ(BrandFocusSession{}, BrandFocusSession{false});
    EXPECT_NE(BrandFocusSession{true}, BrandFocusSession{});
}

TEST(BrandFocusRing, ShowsOnlyWhileFocusedAfterKeyboardUse) {
    Fixture f;
    BrandFocusRing* ring = BrandFocusRing::forKeyboardFocus(f.control, MurvelShape::roundedRectangle(6));
    f.control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(f.control->hasFocus());
    EXPECT_FALSE(ring->isOn()) << "focused, but the keyboard has not been used";
    EXPECT_TRUE(ring->isHidden());

    f.environment()->setKeyboardUsed(true);
    EXPECT_TRUE(ring->isOn());
    EXPECT_TRUE(ring->isVisible());

    f.control->clearFocus();
    EXPECT_FALSE(ring->isOn());
    f.control->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ring->isOn());

    // The chrome starts watching again: hidden until the next keyboard use.
    f.environment()->setKeyboardUsed(false);
    EXPECT_FALSE(ring->isOn());
    EXPECT_TRUE(ring->isHidden());
}

TEST(BrandFocusRing, StrokeSitsOnePointOutsideTheControl) {
    Fixture f;
    auto* ring = new BrandFocusRing(f.control, MurvelShape::rectangle());
    ring->setOn(true);
    EXPECT_EQ(ring->outline(), QRectF(-1, -1, 82, 26));
    const QImage image = render(*f.canvas, Qt::white);
    // The 1-point stroke is centred on the outline at x = 19: half over each of columns 18 and 19.
    const QColor half = over(
        QColor::fromRgbF(0, 0, 0, BrandPalette::focusRing(MurvelColorScheme::light).alphaF() / 2), Qt::white);
    const int y = 32;
    EXPECT_TRUE(colorNear(image.pixelColor(18, y), half, 3));
    EXPECT_TRUE(colorNear(image.pixelColor(19, y), half, 3));
    EXPECT_TRUE(colorNear(image.pixelColor(17, y), Qt::white));
    EXPECT_TRUE(colorNear(image.pixelColor(20, y), Qt::white)) << "nothing is drawn on the control itself";
    EXPECT_TRUE(colorNear(image.pixelColor(100, y), half, 3));
    EXPECT_TRUE(colorNear(image.pixelColor(60, 18), half, 3));
    EXPECT_TRUE(colorNear(image.pixelColor(60, 45), half, 3));
    EXPECT_TRUE(colorNear(image.pixelColor(60, 47), Qt::white));

    f.environment()->setForcedColorScheme(MurvelColorScheme::dark);
    const QImage dark = render(*f.canvas, Qt::black);
    EXPECT_TRUE(colorNear(dark.pixelColor(18, y), over(QColor::fromRgbF(1, 1, 1, 0.275f), Qt::black), 3));
}

TEST(BrandFocusRing, TakesNoSpaceAndNoClicks) {
    Fixture f;
    const QRect before = f.control->geometry();
    auto* ring = new BrandFocusRing(f.control, MurvelShape::roundedRectangle(6));
    EXPECT_EQ(f.control->geometry(), before);
    EXPECT_EQ(f.window.childAt(20, 20), f.control) << "off: the control's own hit area";
    EXPECT_EQ(f.window.childAt(19, 19), f.canvas);

    ring->setOn(true);
    EXPECT_EQ(f.control->geometry(), before);
    EXPECT_EQ(ring->geometry(), before.adjusted(-2, -2, 2, 2));
    // The ring covers the control's edge, yet a click there reaches the control.
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {}, QPoint(99, 43));
    EXPECT_EQ(f.control->presses, 2);
    EXPECT_NE(f.window.childAt(19, 30), ring) << "the line itself takes no hits";

    // It follows the control.
    f.control->setGeometry(30, 30, 50, 20);
    EXPECT_EQ(ring->geometry(), QRect(28, 28, 54, 24));
}

TEST(BrandFocusRing, IsNotAnnouncedByScreenReaders) {
    Fixture f;
    auto* ring = new BrandFocusRing(f.control, MurvelShape::capsule());
    ring->setOn(true);
    EXPECT_TRUE(accessible(ring)->state().invisible);

    auto* button = new MurvelButton(QStringLiteral("Retry"));
    InlineNotice notice(NoticeKind::info, QStringLiteral("Sync is off."), button);
    QAccessibleInterface* group = accessible(&notice);
    for (int i = 0; i < group->childCount(); ++i)
        EXPECT_EQ(qobject_cast<BrandFocusRing*>(group->child(i)->object()), nullptr) << i;
}

TEST(BrandFocusRing, KitControlsDrawTheirOwnRing) {
    Fixture f;
    auto* button = new MurvelButton(QStringLiteral("Go"), &f.window);
    button->move(20, 50);
    button->show();
    f.environment()->setKeyboardUsed(true);
    button->setFocus(Qt::TabFocusReason);
    const auto rings = f.window.findChildren<BrandFocusRing*>();
    ASSERT_EQ(rings.size(), 1);
    EXPECT_EQ(rings[0]->control(), button);
    EXPECT_TRUE(rings[0]->isOn());
    // A click moves no keyboard focus to a kit button.
    EXPECT_EQ(button->focusPolicy(), Qt::TabFocus);
}

} // namespace

namespace {

TEST(BrandFocusRing, GoesWithItsControl) {
    QWidget parent;
    QPointer<BrandFocusRing> ring;
    {
        auto* control = new QWidget(&parent);
        ring = new BrandFocusRing(control, MurvelShape::capsule());
        ring->setOn(true);
        delete control;
        EXPECT_TRUE(ring->isHidden()) << "nothing drawn around a control that is gone";
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ring.isNull());
}

} // namespace
