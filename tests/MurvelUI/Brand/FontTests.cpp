#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace MurvelUI;

namespace {

TEST(MurvelFont, ListsItsFourteenRolesInOrder) {
    const MurvelFont expected[] = {
        MurvelFont::title,           MurvelFont::text,
        MurvelFont::textSemibold,    MurvelFont::support,
        MurvelFont::supportSemibold, MurvelFont::heading,
        MurvelFont::welcomeTitle,    MurvelFont::mark,
        MurvelFont::detail,          MurvelFont::detailSemibold,
        MurvelFont::keyCap,          MurvelFont::versionLine,
        MurvelFont::footerSymbol,    MurvelFont::readout,
    };
    ASSERT_EQ(allMurvelFonts.size(), std::size(expected));
    for (std::size_t i = 0; i < allMurvelFonts.size(); ++i)
        EXPECT_EQ(allMurvelFonts[i], expected[i]) << i;
}

TEST(MurvelFont, EachRoleHasItsStyleWeightAndSize) {
    const struct {
        MurvelFont role;
        MurvelTextStyle style;
        int weight;
        int pixels; // at the default text size
    } cases[] = {
        {MurvelFont::title, MurvelTextStyle::largeTitle, QFont::Bold, 26},
        {MurvelFont::text, MurvelTextStyle::title2, QFont::Normal, 17},
        {MurvelFont::textSemibold, MurvelTextStyle::title2, QFont::DemiBold, 17},
        {MurvelFont::support, MurvelTextStyle::title3, QFont::Normal, 15},
        {MurvelFont::supportSemibold, MurvelTextStyle::title3, QFont::DemiBold, 15},
        {MurvelFont::heading, MurvelTextStyle::headline, QFont::Bold, 13},
        {MurvelFont::welcomeTitle, MurvelTextStyle::title2, QFont::Bold, 17},
        {MurvelFont::mark, MurvelTextStyle::title2, QFont::Normal, 17},
        {MurvelFont::detail, MurvelTextStyle::callout, QFont::Normal, 12},
        {MurvelFont::detailSemibold, MurvelTextStyle::callout, QFont::DemiBold, 12},
        {MurvelFont::keyCap, MurvelTextStyle::callout, QFont::DemiBold, 12},
        {MurvelFont::versionLine, MurvelTextStyle::caption, QFont::Normal, 10},
        {MurvelFont::footerSymbol, MurvelTextStyle::title3, QFont::Normal, 15},
        {MurvelFont::readout, MurvelTextStyle::title, QFont::DemiBold, 22},
    };
    for (const auto& c : cases) {
        const QFont font = fontFor(c.role);
        EXPECT_EQ(textStyleOf(c.role), c.style) << int(c.role);
        EXPECT_EQ(font.weight(), c.weight) << int(c.role);
        EXPECT_EQ(font.pixelSize(), c.pixels) << int(c.role);
        EXPECT_EQ(font.family(), kitFontFamily());
    }
}

TEST(MurvelTextStyle, SizesGrowWithTheTextSize) {
    for (int style = 0; style <= int(MurvelTextStyle::caption2); ++style) {
        int previous = 0;
        for (MurvelTypeSize size : allTypeSizes) {
            const int pixels = textStylePixelSize(MurvelTextStyle(style), size);
            EXPECT_GE(pixels, previous) << "style " << style << " size " << int(size);
            previous = pixels;
        }
        EXPECT_GT(textStylePixelSize(MurvelTextStyle(style), MurvelTypeSize::accessibility5),
                  textStylePixelSize(MurvelTextStyle(style), MurvelTypeSize::xxxLarge))
            << "style " << style;
    }
    EXPECT_EQ(textStylePixelSize(MurvelTextStyle::callout, MurvelTypeSize::accessibility5), 38);
    EXPECT_FALSE(isAccessibilitySize(MurvelTypeSize::xxxLarge));
    EXPECT_TRUE(isAccessibilitySize(MurvelTypeSize::accessibility1));
}

TEST(MurvelTextStyle, TestsPinAnInstalledFamily) {
    EXPECT_EQ(kitFontFamily(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(QFontInfo(fontFor(MurvelFont::detail)).family(), QStringLiteral("DejaVu Sans"));
}

TEST(MurvelTextStyle, ReadoutDigitsShareOneWidth) {
    // Qt 6.4 cannot ask for tabular figures, so the readout relies on the family's own.
    const QFontMetricsF metrics(fontFor(MurvelFont::readout));
    const qreal zero = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char digit = '1'; digit <= '9'; ++digit)
        EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), zero) << digit;
}

TEST(ApplyFont, SetsTheRoleAndFollowsTheWindowsTextSize) {
    QWidget window;
    auto* text = new MurvelText(QStringLiteral("Hello"), &window);
    auto* child = new MurvelText(QStringLiteral("inherits"), text);
    applyFont(text, MurvelFont::detail);
    EXPECT_EQ(text->font(), fontFor(MurvelFont::detail));
    EXPECT_EQ(child->font().pixelSize(), 12); // children without a font of their own inherit it
    const int before = text->sizeHint().height();

    MurvelEnvironment::of(&window)->setTypeSize(MurvelTypeSize::accessibility3);
    EXPECT_EQ(text->font(), fontFor(MurvelFont::detail, MurvelTypeSize::accessibility3));
    EXPECT_GT(text->sizeHint().height(), before);

    // A second role replaces the first rather than fighting it.
    applyFont(text, MurvelFont::heading);
    MurvelEnvironment::of(&window)->setTypeSize(MurvelTypeSize::large);
    EXPECT_EQ(text->font(), fontFor(MurvelFont::heading));
}

TEST(ApplyFont, FollowsTheWindowTheWidgetMovesTo) {
    QWidget large;
    MurvelEnvironment::of(&large)->setTypeSize(MurvelTypeSize::xxxLarge);
    auto* text = new MurvelText(QStringLiteral("moved"));
    applyFont(text, MurvelFont::support);
    EXPECT_EQ(text->font().pixelSize(), textStylePixelSize(MurvelTextStyle::title3, MurvelTypeSize::large));
    text->setParent(&large);
    EXPECT_EQ(text->font().pixelSize(),
              textStylePixelSize(MurvelTextStyle::title3, MurvelTypeSize::xxxLarge));
}

} // namespace
