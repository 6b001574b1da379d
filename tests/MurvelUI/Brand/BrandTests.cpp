#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/BrandBackgroundRecipe.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/LabelContrast.hpp"
#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelMetrics.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelColorScheme schemes[] = {MurvelColorScheme::light, MurvelColorScheme::dark};

MurvelBrand brandWith(std::optional<QColor> dark, std::optional<QColor> light,
                      MurvelBrand::Connection connection = MurvelBrand::Connection::offline) {
    return MurvelBrand{QStringLiteral("Sample"), QColor(15, 158, 143), connection, dark, light};
}

TEST(BrandPalette, NeutralsArePrimaryAtFixedOpacities) {
    const struct {
        const char* name;
        QColor (*color)(MurvelColorScheme);
        double opacity;
    } cases[] = {
        {"focusRing", &BrandPalette::focusRing, 0.55},
        {"secondary", &BrandPalette::secondary, 0.7},
        {"fill", &BrandPalette::fill, 0.06},
        {"strongFill", &BrandPalette::strongFill, 0.16},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(componentsNear(c.color(MurvelColorScheme::light), 0, 0, 0, c.opacity)) << c.name;
        EXPECT_TRUE(componentsNear(c.color(MurvelColorScheme::dark), 1, 1, 1, c.opacity)) << c.name;
    }
}

TEST(BrandPalette, AttentionIsSystemOrangeInDarkAndBrownOrangeInLight) {
    EXPECT_EQ(BrandPalette::attention(MurvelColorScheme::dark), QColor(255, 159, 10));
    EXPECT_EQ(BrandPalette::attention(MurvelColorScheme::light), QColor(184, 80, 0));
}

TEST(PrivacyGreen, PicksTheVariantOfTheScheme) {
    EXPECT_TRUE(componentsNear(PrivacyGreen::color(MurvelColorScheme::dark), 0.19, 0.82, 0.35, 1, 2e-5));
    EXPECT_TRUE(componentsNear(PrivacyGreen::color(MurvelColorScheme::light), 0.09, 0.44, 0.18, 1, 2e-5));
}

TEST(MurvelBrand, AccentFallsBackToTheBrandColour) {
    const QColor dark(72, 200, 182), light(15, 138, 125), brand(15, 158, 143);
    const struct {
        std::optional<QColor> dark, light;
        MurvelColorScheme scheme;
        QColor expected;
    } cases[] = {
        {std::nullopt, light, MurvelColorScheme::dark, brand},
        {std::nullopt, light, MurvelColorScheme::light, light},
        {dark, std::nullopt, MurvelColorScheme::dark, dark},
        {dark, std::nullopt, MurvelColorScheme::light, brand},
        {std::nullopt, std::nullopt, MurvelColorScheme::dark, brand},
        {dark, light, MurvelColorScheme::light, light},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brandWith(c.dark, c.light).accent(c.scheme), c.expected) << nameOf(c.scheme);
}

TEST(MurvelBrand, LabelColourContrastsWithTheBrandColour) {
    const struct {
        QColor fill;
        QColor label;
    } cases[] = {
        {Qt::white, Qt::black},
        {Qt::black, Qt::white},
        {QColor(15, 158, 143), Qt::black}, // the app's teal
        {QColor(0, 0, 200), Qt::white},
        {QColor(255, 255, 0), Qt::black},
    };
    for (const auto& c : cases) {
        MurvelBrand brand = brandWith(std::nullopt, std::nullopt);
        brand.color = c.fill;
        EXPECT_EQ(brand.labelColor(), c.label) << c.fill.name().toStdString();
    }
}

TEST(LabelContrast, ExactTieGivesWhiteAndEitherSideSplits) {
    // At this luminance the contrasts with black and white are equal to the last bit.
    const double tie = 0.179128784747792;
    ASSERT_EQ((tie + 0.05) / 0.05, 1.05 / (tie + 0.05));
    EXPECT_EQ(labelColorForLuminance(tie), QColor(Qt::white));
    EXPECT_EQ(labelColorForLuminance(tie + 1e-9), QColor(Qt::black));
    EXPECT_EQ(labelColorForLuminance(tie - 1e-9), QColor(Qt::white));
}

TEST(LabelContrast, LuminanceUsesTheLinearComponents) {
    EXPECT_NEAR(relativeLuminance(Qt::white), 1.0, 1e-6);
    EXPECT_NEAR(relativeLuminance(Qt::black), 0.0, 1e-9);
    // sRGB 128 is about 0.2159 in linear light, not 0.5.
    EXPECT_NEAR(relativeLuminance(QColor(128, 128, 128)), 0.2158605, 1e-5);
}

TEST(MurvelBrand, PrivacyLineDependsOnConnectionAndEntitlement) {
    const PrivacyPromise collected{QStringLiteral("No data collected"), QStringLiteral("hand.raised")};
    const PrivacyPromise offline{QStringLiteral("No internet, no data collected"),
                                 QStringLiteral("network.slash")};
    const struct {
        MurvelBrand::Connection connection;
        bool entitled;
        PrivacyPromise expected;
        int asked;
    } cases[] = {
        {MurvelBrand::Connection::online, false, collected, 0},
        {MurvelBrand::Connection::online, true, collected, 0},
        {MurvelBrand::Connection::offline, true, collected, 1},
        {MurvelBrand::Connection::offline, false, offline, 1},
    };
    for (const auto& c : cases) {
        int asked = 0;
        const PrivacyPromise line = brandWith(std::nullopt, std::nullopt, c.connection).privacyLine([&] {
            ++asked;
            return c.entitled;
        });
        EXPECT_EQ(line, c.expected) << line.text.toStdString();
        EXPECT_EQ(asked, c.asked);
    }
}

TEST(MurvelBrand, OfflineBrandSaysWhatIsTrueOnLinux) {
    // The Linux build fetches the update manifest, so it never promises "no internet".
    const PrivacyPromise line = brandWith(std::nullopt, std::nullopt).privacyLine();
    EXPECT_EQ(line.text, QStringLiteral("No data collected"));
    EXPECT_EQ(line.symbol, QStringLiteral("hand.raised"));
}

TEST(BrandBackgroundRecipe, DarkRedStops) {
    const auto stops = BrandBackgroundRecipe::stops(true, 1, 0, 0);
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_DOUBLE_EQ(stops[0].red, 0.2627450980392157);
    EXPECT_DOUBLE_EQ(stops[0].green, 0.06274509803921569);
    EXPECT_DOUBLE_EQ(stops[0].blue, 0.06274509803921569);
    EXPECT_DOUBLE_EQ(stops[1].red, 0.17058823529411765);
    EXPECT_DOUBLE_EQ(stops[1].green, 0.07058823529411765);
    EXPECT_DOUBLE_EQ(stops[1].blue, 0.07058823529411765);
    for (double component : {stops[2].red, stops[2].green, stops[2].blue})
        EXPECT_DOUBLE_EQ(component, 20.0 / 255);
}

TEST(BrandBackgroundRecipe, LightStopsForWhiteAndBlackComponents) {
    const auto white = BrandBackgroundRecipe::stops(false, 1, 1, 1);
    for (const ColorComponents& stop : white)
        EXPECT_EQ(stop, (ColorComponents{1, 1, 1}));
    const auto black = BrandBackgroundRecipe::stops(false, 0, 0, 0);
    const double expected[] = {0.902, 0.951, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(black[i].red, expected[i], 1e-12);
        EXPECT_NEAR(black[i].blue, expected[i], 1e-12);
    }
}

TEST(BrandBackground, GradientRunsFromTopLeadingToBottomTrailing) {
    const QColor brand(15, 158, 143);
    for (MurvelColorScheme scheme : schemes) {
        for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            BrandBackground background(brand);
            background.setLayoutDirection(direction);
            layOut(background, 200, scheme, 200);
            const QImage image = render(background, Qt::magenta);
            const auto stops = BrandBackgroundRecipe::stops(scheme == MurvelColorScheme::dark, brand.redF(),
                                                            brand.greenF(), brand.blueF());
            const bool ltr = direction == Qt::LeftToRight;
            SCOPED_TRACE(nameOf(scheme));
            EXPECT_TRUE(colorNear(image.pixelColor(ltr ? 0 : 199, 0), stops[0].color()));
            EXPECT_TRUE(colorNear(image.pixelColor(100, 100), stops[1].color()));
            EXPECT_TRUE(colorNear(image.pixelColor(ltr ? 199 : 0, 199), stops[2].color()));
            // The other two corners lie on the middle stop's line.
            EXPECT_TRUE(colorNear(image.pixelColor(ltr ? 199 : 0, 0), stops[1].color()));
        }
    }
}

TEST(MurvelMetrics, TableHoldsItsFiftyTwoValuesInOrder) {
    const double table[] = {4,  8,  12, 16, 24, 368, 16, 32,  32,  36,  28,  32, 12, 56, 16, 12, 112, 12,
                            16, 40, 8,  4,  4,  12,  20, 560, 24,  480, 24,  88, 40, 8,  20, 32, 48,  32,
                            48, 80, 44, 12, 16, 28,  32, 496, 560, 176, 768, 32, 44, 32, 40, 28};
    ASSERT_EQ(std::size(table), MurvelMetrics::all.size());
    for (std::size_t i = 0; i < MurvelMetrics::all.size(); ++i)
        EXPECT_EQ(MurvelMetrics::all[i], table[i]) << "constant " << i + 1;
    EXPECT_EQ(MurvelMetrics::panelWidth, 368);
    EXPECT_EQ(MurvelMetrics::actionRowMinHeight, 36);
    EXPECT_EQ(MurvelMetrics::welcomeWidth, 480);
    EXPECT_EQ(MurvelMetrics::welcomeIconSize, 88);
    EXPECT_EQ(MurvelMetrics::welcomeStepsHeightAllowance, 80);
    EXPECT_EQ(MurvelMetrics::welcomeStepsWidth, 496);
    EXPECT_EQ(MurvelMetrics::paneListWidth, 176);
    EXPECT_EQ(MurvelMetrics::sidebarPreferencesWidth, 768);
    EXPECT_EQ(MurvelMetrics::singlePanePreferencesWidth, 560);
}

} // namespace
