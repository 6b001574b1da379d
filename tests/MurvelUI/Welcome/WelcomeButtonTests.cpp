#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Welcome/WelcomeButton.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QFontMetricsF>
#include <QPointer>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const QColor brandColor(15, 158, 143);

MurvelBrand brandOf(const QColor& color) {
    return {QStringLiteral("Dialcove"), color, MurvelBrand::Connection::offline, std::nullopt, std::nullopt};
}

// How many pixels of the button's middle band are close to `color`.
int pixelsNear(const QImage& image, const QColor& color, int tolerance = 40) {
    int count = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x)
            if (colorNear(image.pixelColor(x, y), color, tolerance))
                ++count;
    return count;
}

TEST(WelcomeButton, ProminentIsACapsuleOfTheBrandWithTheTitleThatReadsOnIt) {
    const struct {
        QColor brand;
        QColor title;
    } cases[] = {
        {brandColor, Qt::black},
        {Qt::black, Qt::white},
        {QColor(117, 117, 117), Qt::white},
        {QColor(118, 118, 118), Qt::black},
    };
    for (const auto& c : cases) {
        int runs = 0;
        QPointer<MurvelButton> button(WelcomeButton::make(
            {QStringLiteral("Let\u2019s go"), false, [&] { ++runs; }}, brandOf(c.brand), true));
        layOut(*button, button->sizeHint().width());
        const QImage image = render(*button, Qt::white);
        EXPECT_TRUE(colorNear(image.pixelColor(button->width() / 2, 2), c.brand)) << "filled with the brand";
        EXPECT_TRUE(colorNear(image.pixelColor(0, 0), Qt::white)) << "a capsule";
        EXPECT_GT(pixelsNear(image, c.title), 10) << c.brand.name().toStdString();
        const QColor other = c.title == QColor(Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
        if (!colorNear(c.brand, other, 60)) {
            EXPECT_EQ(pixelsNear(image, other, 20), 0) << c.brand.name().toStdString();
        }
        button->click();
        EXPECT_EQ(runs, 1);
        delete button;
    }
}

TEST(WelcomeButton, FontsSizeAndOutlineOfBothKinds) {
    std::unique_ptr<MurvelButton> prominent(
        WelcomeButton::make({QStringLiteral("Let\u2019s go"), false, {}}, brandOf(brandColor), true));
    std::unique_ptr<MurvelButton> bordered(
        WelcomeButton::make({QStringLiteral("Start without setup"), false, {}}, brandOf(brandColor), false));
    EXPECT_EQ(prominent->buttonStyle(), MurvelButton::Style::prominent);
    EXPECT_EQ(bordered->buttonStyle(), MurvelButton::Style::bordered);
    for (MurvelButton* button : {prominent.get(), bordered.get()}) {
        EXPECT_EQ(button->controlSize(), MurvelControlSize::extraLarge);
        EXPECT_EQ(button->shape(), MurvelShape::capsule());
        EXPECT_GE(button->sizeHint().height(), 25 + 2 * 7) << "a title at least 25 high, padded";
    }
    EXPECT_EQ(prominent->font(), fontFor(MurvelFont::supportSemibold));
    EXPECT_EQ(bordered->font(), fontFor(MurvelFont::support));

    // The font stays title 3 at every text size, and grows with it.
    MurvelEnvironment::of(bordered.get())->setTypeSize(MurvelTypeSize::accessibility5);
    EXPECT_EQ(bordered->font(), fontFor(MurvelFont::support, MurvelTypeSize::accessibility5));
    EXPECT_GT(bordered->sizeHint().height(), prominent->sizeHint().height());
}

TEST(WelcomeButton, ALongTitleStaysOnOneLineAtItsFullWidth) {
    const QString title = QStringLiteral("Open the Contacts Access window and allow Dialcove to read them");
    std::unique_ptr<MurvelButton> button(WelcomeButton::make({title, false, {}}, brandOf(brandColor), false));
    std::unique_ptr<MurvelButton> shortOne(
        WelcomeButton::make({QStringLiteral("OK"), false, {}}, brandOf(brandColor), false));
    const qreal advance = QFontMetricsF(button->font()).horizontalAdvance(title);
    EXPECT_GE(button->sizeHint().width(), advance + 2 * 16) << "never cut";
    EXPECT_EQ(button->sizeHint().height(), shortOne->sizeHint().height()) << "never wrapped";
    EXPECT_EQ(button->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed) << "never squeezed";
}

TEST(WelcomeButton, DisabledProminentShowsTheBrandAtHalfOpacityAndIgnoresClicksAndReturn) {
    QWidget window;
    int runs = 0;
    MurvelButton* button = WelcomeButton::make({QStringLiteral("Let\u2019s go"), true, [&] { ++runs; }},
                                               brandOf(brandColor), true, &window);
    pressOnReturn(&window, button);
    button->move(10, 10);
    button->resize(button->sizeHint());
    window.resize(300, 80);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_FALSE(button->isEnabled());

    QImage image(button->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_TRUE(
        colorNear(image.pixelColor(button->width() / 2, 2), over(withOpacity(brandColor, 0.5), Qt::white)));

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_EQ(runs, 0);

    // Enabled again, Return and Enter press it.
    WelcomeButton::apply(button, {QStringLiteral("Let\u2019s go"), false, [&] { ++runs; }});
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_EQ(runs, 2);
}

TEST(WelcomeButton, ApplyReplacesTheActionAndNeverEnablesInsideADisabledParent) {
    QWidget parent;
    int first = 0;
    int second = 0;
    MurvelButton* button = WelcomeButton::make({QStringLiteral("Allow Access"), false, [&] { ++first; }},
                                               brandOf(brandColor), false, &parent);
    WelcomeButton::apply(button, {QStringLiteral("Open System Settings"), false, [&] { ++second; }});
    button->click();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(button->text(), QStringLiteral("Open System Settings"));

    parent.setEnabled(false);
    WelcomeButton::apply(button, {QStringLiteral("Open System Settings"), false, [&] { ++second; }});
    EXPECT_FALSE(button->isEnabled());
    parent.setEnabled(true);
    EXPECT_TRUE(button->isEnabled());
    WelcomeButton::apply(button, {QStringLiteral("Open System Settings"), true, [&] { ++second; }});
    parent.setEnabled(false);
    parent.setEnabled(true);
    EXPECT_FALSE(button->isEnabled()) << "a disabled description keeps it off";
}

TEST(WelcomeButton, NoRingUntilTheKeyboardIsUsed) {
    QWidget window;
    MurvelButton* button =
        WelcomeButton::make({QStringLiteral("Let\u2019s go"), false, {}}, brandOf(brandColor), true, &window);
    button->move(10, 10);
    button->resize(button->sizeHint());
    window.resize(300, 80);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus());
    const auto ring = window.findChild<BrandFocusRing*>();
    ASSERT_NE(ring, nullptr);
    EXPECT_FALSE(ring->isOn());
    MurvelEnvironment::of(&window)->setKeyboardUsed(true);
    EXPECT_TRUE(ring->isOn());
}

} // namespace
