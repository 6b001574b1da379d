#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeStepDetail.hpp"
#include "MurvelUI/Welcome/WelcomeStepRow.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};
const QString celebration = QStringLiteral("All set! Press the shortcut in any app to search.");

WelcomeStepsButton allowAccess(int* runs = nullptr) {
    return {QStringLiteral("Allow Access"), false, [runs] {
                if (runs)
                    ++*runs;
            }};
}

TEST(WelcomeStepState, SymbolsAndColoursInBothSchemes) {
    const struct {
        WelcomeStepState state;
        const char* symbol;
        QColor light;
        QColor dark;
    } cases[] = {
        {WelcomeStepState::todo, "circle", BrandPalette::secondary(MurvelColorScheme::light),
         BrandPalette::secondary(MurvelColorScheme::dark)},
        {WelcomeStepState::done, "checkmark.circle.fill", QColor::fromRgbF(0.09f, 0.44f, 0.18f),
         QColor::fromRgbF(0.19f, 0.82f, 0.35f)},
        {WelcomeStepState::attention, "exclamationmark.triangle", QColor(184, 80, 0), QColor(255, 159, 10)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(symbolOf(c.state), QString::fromLatin1(c.symbol));
        EXPECT_TRUE(colorNear(colorOf(c.state).resolve(MurvelColorScheme::light), c.light, 1)) << c.symbol;
        EXPECT_TRUE(colorNear(colorOf(c.state).resolve(MurvelColorScheme::dark), c.dark, 1)) << c.symbol;
    }
}

TEST(WelcomeStepRow, StateCelebrationAndActionDecideWhatShows) {
    const struct {
        WelcomeStepState state;
        bool withCelebration;
        bool withAction;
        bool celebrationShown;
        bool actionShown;
    } cases[] = {
        {WelcomeStepState::done, true, true, true, false},
        {WelcomeStepState::todo, true, true, false, true},
        {WelcomeStepState::attention, true, true, false, true},
        {WelcomeStepState::done, false, false, false, false},
        {WelcomeStepState::attention, false, false, false, false},
        {WelcomeStepState::todo, false, true, false, true},
    };
    for (const auto& c : cases) {
        auto* detail = new MurvelText(QStringLiteral("Dialcove only reads."));
        WelcomeStepRow row(c.state, brand, c.withCelebration ? std::optional(celebration) : std::nullopt,
                           c.withAction ? std::optional(allowAccess()) : std::nullopt, detail);
        layOut(row, 464);
        const std::string label = "state " + std::to_string(int(c.state)) + " celebration " +
                                  std::to_string(c.withCelebration) + " action " +
                                  std::to_string(c.withAction);
        EXPECT_EQ(row.celebrationView()->isVisible(), c.celebrationShown) << label;
        EXPECT_EQ(row.actionButton()->isVisible(), c.actionShown) << label;
        EXPECT_TRUE(detail->isVisible()) << label;
        EXPECT_EQ(row.icon()->symbol(), symbolOf(c.state));
        // Top to bottom: celebration, detail, action.
        if (c.celebrationShown) {
            EXPECT_LT(rectIn(row.celebrationView(), &row).bottom(), rectIn(detail, &row).top()) << label;
        }
        if (c.actionShown) {
            EXPECT_GE(rectIn(row.actionButton(), &row).top(), rectIn(detail, &row).bottom() + 1 + 8 + 4)
                << label;
        }
        // Nothing hidden takes room: the row ends 12 below its last shown item.
        const QWidget* last = c.actionShown ? static_cast<QWidget*>(row.actionButton()) : detail;
        EXPECT_EQ(row.height(), rectIn(last, &row).bottom() + 1 + 12) << label;
    }
}

TEST(WelcomeStepRow, ChangesInPlaceAndTellsItsState) {
    int runs = 0;
    auto* detail = new MurvelText(QStringLiteral("Dialcove only reads."));
    WelcomeStepRow row(WelcomeStepState::todo, brand, celebration, allowAccess(&runs), detail);
    layOut(row, 464);
    QSignalSpy changes(&row, &WelcomeStepRow::stateChanged);
    row.actionButton()->click();
    EXPECT_EQ(runs, 1);

    row.setState(WelcomeStepState::done);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(row.property("state").value<WelcomeStepState>(), WelcomeStepState::done);
    EXPECT_TRUE(row.celebrationView()->isVisible());
    EXPECT_FALSE(row.actionButton()->isVisible());
    row.setState(WelcomeStepState::done);
    EXPECT_EQ(changes.count(), 1) << "the same state says nothing";

    int opened = 0;
    row.setState(WelcomeStepState::attention);
    row.setAction(WelcomeStepsButton{QStringLiteral("Open System Settings"), false, [&] { ++opened; }});
    auto* path = new MurvelText(QStringLiteral("System Settings"));
    row.setDetail(path);
    layOut(row, 464);
    EXPECT_EQ(row.actionButton()->text(), QStringLiteral("Open System Settings"));
    row.actionButton()->click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(row.detail(), path);
    EXPECT_GT(rectIn(row.actionButton(), &row).top(), rectIn(path, &row).bottom()) << "the action stays last";
    EXPECT_TRUE(colorNear(path->color().resolve(MurvelColorScheme::light),
                          BrandPalette::secondary(MurvelColorScheme::light), 0));

    row.setAction(std::nullopt);
    EXPECT_FALSE(row.actionButton()->isVisible());
}

TEST(WelcomeStepRow, AttentionTriangleIsPaintedInTheSchemesColour) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        WelcomeStepRow row(WelcomeStepState::attention, brand, std::nullopt, std::nullopt,
                           new MurvelText(QStringLiteral("Contacts access is restricted")));
        layOut(row, 464, scheme);
        const QImage image = render(row, scheme == MurvelColorScheme::dark ? Qt::black : Qt::white);
        const QColor expected = scheme == MurvelColorScheme::dark ? QColor(255, 159, 10) : QColor(184, 80, 0);
        EXPECT_GT(pixelsUnlike(image, rectIn(row.icon(), &row), expected, 3),
                  0); // the symbol does not fill its box
        int matching = 0;
        const QRect box = rectIn(row.icon(), &row);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (colorNear(image.pixelColor(x, y), expected, 3))
                    ++matching;
        EXPECT_GT(matching, 5) << nameOf(scheme);
    }
}

TEST(WelcomeStepRow, LongDetailWrapsWithTheIconOnTopAndADetailLinesUpWithIt) {
    auto* detail = new MurvelText(QStringLiteral(
        "Restrictions on this computer prevent Contacts access. Check with the person who manages this "
        "computer, then open Dialcove again to finish the setup of the search."));
    MurvelStack card(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    auto* row = new WelcomeStepRow(WelcomeStepState::attention, brand, std::nullopt, std::nullopt, detail);
    auto* keys = new MurvelText(QStringLiteral("Opens the search in any app"));
    auto* item = new WelcomeStepDetail(8, {keys});
    card.stack()->addWidget(row, MurvelStackLayout::Options::filling());
    card.stack()->addWidget(item, MurvelStackLayout::Options::filling());
    layOut(card, 464);

    EXPECT_GT(detail->lineCount(detail->width()), 2);
    EXPECT_EQ(detail->height(), detail->heightForWidth(detail->width())) << "never cut";
    EXPECT_EQ(detail->font(), fontFor(MurvelFont::support));
    const QRect icon = rectIn(row->icon(), &card);
    EXPECT_EQ(icon.width(), 20);
    EXPECT_LT(icon.top(), 12 + QFontMetrics(detail->font()).height()) << "on the first line";
    EXPECT_EQ(rectIn(detail, &card).left(), 20 + 12);
    EXPECT_EQ(rectIn(keys, &card).left(), rectIn(detail, &card).left())
        << "a detail starts where the text does";
    EXPECT_EQ(card.height(), rectIn(keys, &card).bottom() + 1 + 12);
    EXPECT_EQ(keys->font(), fontFor(MurvelFont::support));
}

} // namespace
