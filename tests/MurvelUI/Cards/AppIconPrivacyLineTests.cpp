#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Cards/PrivacyLine.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

// Sets the application's icon for one test.
struct ApplicationIcon {
    explicit ApplicationIcon(const QIcon& icon) { QApplication::setWindowIcon(icon); }
    ~ApplicationIcon() { QApplication::setWindowIcon(QIcon()); }
};

QIcon solidIcon(int side, const QColor& color) {
    QPixmap pixmap(side, side);
    pixmap.fill(color);
    return QIcon(pixmap);
}

TEST(AppIcon, StretchesTheApplicationsIconToExactlyItsSize) {
    for (int imageSide : {16, 256}) {
        ApplicationIcon icon(solidIcon(imageSide, Qt::red));
        AppIcon view(24);
        EXPECT_EQ(view.size(), QSize(24, 24));
        EXPECT_EQ(view.sizeHint(), QSize(24, 24));
        const QImage image = render(view, Qt::white);
        for (QPoint p : {QPoint(0, 0), QPoint(12, 12), QPoint(23, 23)})
            EXPECT_TRUE(colorNear(image.pixelColor(p), Qt::red)) << imageSide;
    }
}

TEST(AppIcon, DrawsAGenericImageWithoutAnApplicationIcon) {
    ApplicationIcon none{QIcon()};
    AppIcon view(40);
    const QImage image = render(view, Qt::magenta);
    EXPECT_FALSE(colorNear(image.pixelColor(20, 20), Qt::magenta));
    EXPECT_TRUE(colorNear(image.pixelColor(0, 0), Qt::magenta)) << "a rounded tile";
}

TEST(AppIcon, IsDecoration) {
    AppIcon icon(24);
    EXPECT_TRUE(accessible(&icon)->state().invisible);
}

TEST(PrivacyLine, SymbolColumnAndBaselineWithWrappingText) {
    MurvelStack host(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    applyFont(&host, MurvelFont::detail);
    auto* line =
        new PrivacyLine(QStringLiteral("No internet, no data collected, nothing leaves this computer, "
                                       "not even a crash report"),
                        QStringLiteral("network.slash"));
    host.stack()->addWidget(line, {});
    layOut(host, 240);
    const QRect symbol = rectIn(line->symbolView(), line);
    const QRect text = rectIn(line->textView(), line);
    EXPECT_EQ(symbol.left(), 0);
    EXPECT_EQ(symbol.width(), 20);
    EXPECT_EQ(text.left(), 28) << "the text wraps under itself, not under the symbol";
    EXPECT_GT(line->textView()->lineCount(text.width()), 1);
    EXPECT_EQ(text.height(), line->textView()->heightForWidth(text.width()));
    EXPECT_EQ(symbol.top() + line->symbolView()->firstBaseline(symbol.size()),
              text.top() + line->textView()->firstBaseline(text.size()));
    // The line sets no font of its own.
    EXPECT_EQ(line->textView()->font(), fontFor(MurvelFont::detail));
}

TEST(PrivacyLine, ASymbolWiderThanItsColumnWidensItInsteadOfBeingCut) {
    MurvelStack host(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    QFont large = fontFor(MurvelFont::detail);
    large.setPixelSize(40);
    host.setFont(large);
    auto* line = new PrivacyLine(QStringLiteral("No data collected"), QStringLiteral("hand.raised"));
    host.stack()->addWidget(line, {});
    layOut(host, 400);
    const int ideal = line->symbolView()->sizeHint().width();
    ASSERT_GT(ideal, 20);
    const QRect symbol = rectIn(line->symbolView(), line);
    EXPECT_EQ(symbol.left(), 0);
    EXPECT_EQ(symbol.width(), ideal);
    EXPECT_EQ(rectIn(line->textView(), line).left(), ideal + 8);
}

TEST(PrivacyLine, TurnsGreenOfTheSchemeWithoutBeingRebuilt) {
    PrivacyLine line(QStringLiteral("No data collected"), QStringLiteral("hand.raised"));
    applyFont(&line, MurvelFont::support);
    layOut(line, 240, MurvelColorScheme::light);
    // Over white, antialiased edges of one green never pass for the other.
    const auto greenPixels = [&](MurvelColorScheme scheme) {
        const QImage image = render(line, Qt::white);
        const QColor green = PrivacyGreen::color(scheme);
        return image.size().width() * image.size().height() - pixelsUnlike(image, image.rect(), green, 6);
    };
    EXPECT_GT(greenPixels(MurvelColorScheme::light), 20);
    EXPECT_EQ(greenPixels(MurvelColorScheme::dark), 0);
    MurvelEnvironment::of(&line)->setForcedColorScheme(MurvelColorScheme::dark);
    EXPECT_GT(greenPixels(MurvelColorScheme::dark), 20);
    EXPECT_EQ(greenPixels(MurvelColorScheme::light), 0);
}

TEST(PrivacyLine, AnnouncesOnlyTheText) {
    PrivacyLine line(MurvelBrand{}.privacyLine());
    QAccessibleInterface* element = accessible(&line);
    ASSERT_EQ(element->childCount(), 1);
    EXPECT_EQ(element->child(0)->text(QAccessible::Name), QStringLiteral("No data collected"));
    EXPECT_TRUE(accessible(line.symbolView())->state().invisible);
}

} // namespace
