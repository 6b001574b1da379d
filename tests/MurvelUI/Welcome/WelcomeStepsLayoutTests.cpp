#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeStepsLayout.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};

WelcomeStepsLayout::Inputs inputs() {
    WelcomeStepsLayout::Inputs in;
    in.brand = brand;
    in.title = QStringLiteral("Your contacts, one shortcut away");
    in.lead = QStringLiteral("Find a number from any app and get back to what you were doing.");
    in.stepTitle = QStringLiteral("Allow access to your contacts");
    in.privacy = QStringLiteral("Your contacts, read only");
    in.privacySymbol = QStringLiteral("person.crop.rectangle");
    in.primary = {QStringLiteral("Let\u2019s go"), false, {}};
    return in;
}

// Lets a change of size climb from a nested widget up to the layout, one level per round.
void settle() {
    for (int round = 0; round < 10; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// A card of a fixed height.
QWidget* stubCard(int height) {
    auto* card = new QWidget;
    card->setFixedHeight(height);
    return card;
}

// A window holding the layout, with a report that records what it is told.
struct Hosted {
    QWidget window;
    WelcomeStepsLayout* layout;
    std::vector<QSizeF> reports;

    explicit Hosted(WelcomeStepsLayout::Inputs in, int cardHeight = 100, bool withReport = true)
        : layout(new WelcomeStepsLayout(std::move(in), stubCard(cardHeight))) {
        if (withReport)
            MurvelEnvironment::of(&window)->setFixedWindowIdealSize(
                FixedWindowSizeReport{[this](QSizeF size) { reports.push_back(size); }});
        layout->setParent(&window);
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.resize(560, layout->heightForWidth(560));
        layout->resize(560, layout->heightForWidth(560));
        window.show();
        settle();
    }
};

// The texts that break inside a word, as "name: width < longest word".
QStringList brokenWords(const QWidget& root) {
    QStringList broken;
    for (const MurvelText* text : root.findChildren<MurvelText*>())
        if (text->isVisibleTo(&root) && text->width() < text->longestWordWidth())
            broken
                << QString("%1: %2 < %3").arg(text->text()).arg(text->width()).arg(text->longestWordWidth());
    return broken;
}

// At the largest text size no word breaks: the progress goes under the step's title instead.
TEST(WelcomeStepsLayout, NoWordBreaksAtTheLargestTextSize) {
    WelcomeStepsLayout::Inputs in = inputs();
    in.stepLabel = QStringLiteral("Step 2 of 3");
    in.step = 2;
    in.stepCount = 3;
    Hosted hosted(std::move(in));
    MurvelEnvironment::of(&hosted.window)->setTypeSize(MurvelTypeSize::accessibility5);
    settle();
    hosted.layout->resize(560, hosted.layout->heightForWidth(560));
    settle();
    EXPECT_EQ(brokenWords(hosted.window).join(" / ").toStdString(), "");
}

TEST(WelcomeStepsLayout, StepLabelDotsAndBadge) {
    const struct {
        const char* name;
        std::optional<QString> label;
        int step;
        int count;
        int dots;
        int lit;
    } cases[] = {
        {"no label, three steps", std::nullopt, 1, 3, 0, 0},
        {"count 0", QStringLiteral("Step 1"), 1, 0, 1, 1},
        {"count -2, step 2", QStringLiteral("Step 2"), 2, -2, 1, 0},
        {"step past the count", QStringLiteral("Step 5"), 5, 3, 3, 0},
        {"step 2 of 3", QStringLiteral("2 of 3"), 2, 3, 3, 2},
    };
    for (const auto& c : cases) {
        auto in = inputs();
        in.stepLabel = c.label;
        in.step = c.step;
        in.stepCount = c.count;
        Hosted hosted(in);
        EXPECT_EQ(hosted.layout->dotCount(), c.dots) << c.name;
        EXPECT_EQ(hosted.layout->litDot(), c.lit) << c.name;
        EXPECT_EQ(hosted.layout->stepLabelView() != nullptr, c.label.has_value()) << c.name;
        EXPECT_EQ(hosted.layout->badge()->size(), QSize(24, 24));
    }
}

TEST(WelcomeStepsLayout, BadgeShowsTheNumberOnTheAccentOrTheGreenCheck) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        auto in = inputs();
        in.step = 5;
        in.stepCount = 3;
        Hosted hosted(in);
        MurvelEnvironment::of(&hosted.window)->setForcedColorScheme(scheme);
        QWidget* badge = hosted.layout->badge();
        const QColor background = scheme == MurvelColorScheme::dark ? Qt::black : Qt::white;
        const QImage number = render(*badge, background);
        // Near the rim: the accent at 0.25 over the background, not the number's colour.
        EXPECT_TRUE(
            colorNear(number.pixelColor(12, 2), over(withOpacity(brand.accent(scheme), 0.25), background), 6))
            << nameOf(scheme);
        hosted.layout->setStepDone(true);
        EXPECT_TRUE(hosted.layout->isStepDone());
        const QImage check = render(*badge, background);
        EXPECT_GT(pixelsUnlike(check, check.rect(), background, 3), 50);
        int green = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                if (colorNear(check.pixelColor(x, y), PrivacyGreen::color(scheme), 3))
                    ++green;
        EXPECT_GT(green, 50) << nameOf(scheme);
    }
}

TEST(WelcomeStepsLayout, ButtonRowWithNeitherAndWithOnlySkip) {
    Hosted alone(inputs());
    MurvelButton* primary = alone.layout->primaryButton();
    const QRect row = rectIn(alone.layout->buttonRow(), alone.layout);
    EXPECT_EQ(alone.layout->skipButton(), nullptr);
    EXPECT_EQ(alone.layout->backButton(), nullptr);
    EXPECT_EQ(row.width(), 496);
    EXPECT_EQ(rectIn(primary, alone.layout).right(), row.right()) << "at the trailing end";
    EXPECT_EQ(rectIn(primary, alone.layout).left(), 32 + 496 - primary->width());

    auto in = inputs();
    in.skip = WelcomeStepsButton{QStringLiteral("Start without setup"), false, {}};
    Hosted withSkip(in);
    EXPECT_EQ(rectIn(withSkip.layout->skipButton(), withSkip.layout).left(), 32) << "at the leading end";
    EXPECT_EQ(rectIn(withSkip.layout->primaryButton(), withSkip.layout).right(),
              rectIn(withSkip.layout->buttonRow(), withSkip.layout).right());
    EXPECT_EQ(withSkip.layout->skipButton()->buttonStyle(), MurvelButton::Style::bordered);
    EXPECT_EQ(withSkip.layout->primaryButton()->buttonStyle(), MurvelButton::Style::prominent);
}

TEST(WelcomeStepsLayout, TitlesTooWideForOneLineGiveEachButtonALineOfItsOwn) {
    auto in = inputs();
    in.skip = WelcomeStepsButton{QStringLiteral("Start without setup"), false, {}};
    in.back = WelcomeStepsButton{QStringLiteral("Back"), false, {}};
    Hosted hosted(in);
    const auto rects = [&] {
        return std::vector<QRect>{rectIn(hosted.layout->skipButton(), hosted.layout),
                                  rectIn(hosted.layout->backButton(), hosted.layout),
                                  rectIn(hosted.layout->primaryButton(), hosted.layout)};
    };
    std::vector<QRect> line = rects();
    EXPECT_EQ(line[0].center().y(), line[2].center().y()) << "one line at the default size";

    MurvelEnvironment::of(&hosted.window)->setTypeSize(MurvelTypeSize::accessibility5);
    settle();
    hosted.window.resize(560, hosted.layout->heightForWidth(560));
    hosted.layout->resize(560, hosted.layout->heightForWidth(560));
    settle();
    const std::vector<QRect> stacked = rects();
    EXPECT_EQ(stacked[0].left(), 32) << "skip stays leading";
    for (const QRect& rect : stacked) {
        EXPECT_GE(rect.left(), 32);
        EXPECT_LE(rect.right(), 32 + 496 - 1) << "never past the page";
    }
    EXPECT_FALSE(stacked[0].intersects(stacked[1]));
    EXPECT_FALSE(stacked[1].intersects(stacked[2]));
    EXPECT_EQ(stacked[2].right(), 32 + 496 - 1) << "primary stays trailing";
    EXPECT_EQ(hosted.layout->primaryButton()->width(), hosted.layout->primaryButton()->sizeHint().width());
}

TEST(WelcomeStepsLayout, ReturnRunsAnEnabledPrimaryOnly) {
    for (bool disabled : {false, true}) {
        int primary = 0;
        int skip = 0;
        auto in = inputs();
        in.primary = {QStringLiteral("Let\u2019s go"), disabled, [&] { ++primary; }};
        in.skip = WelcomeStepsButton{QStringLiteral("Start without setup"), false, [&] { ++skip; }};
        WelcomeStepsLayout layout(in, stubCard(40));
        layout.resize(layout.sizeHint());
        layout.show();
        layout.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&layout));
        layout.skipButton()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(&layout, Qt::Key_Return);
        QTest::keyClick(&layout, Qt::Key_Enter);
        EXPECT_EQ(primary, disabled ? 0 : 2);
        EXPECT_EQ(skip, 0) << "Return is not the focused button's key";
        QTest::keyClick(layout.skipButton(), Qt::Key_Space);
        EXPECT_EQ(skip, 1) << "Space presses the focused button";
    }
}

TEST(WelcomeStepsLayout, ReportsTheNaturalHeightOnceAndThenOnlyOnChange) {
    // The card is sized so that the step section is exactly 400 high.
    Hosted probe(inputs(), 100, false);
    const int rest = probe.layout->stepSection()->heightForWidth(496) - 100;
    Hosted hosted(inputs(), 400 - rest);
    ASSERT_EQ(hosted.layout->stepSection()->heightForWidth(496), 400);
    const int footer = hosted.layout->footer()->heightForWidth(496);
    ASSERT_GT(footer, 0);
    ASSERT_EQ(hosted.reports.size(), 1u);
    EXPECT_EQ(hosted.reports[0], QSizeF(560, 400 + 80 + 32 + footer));
    EXPECT_EQ(hosted.layout->naturalHeight(), 400 + 112 + footer);

    // Only a change of the total reports again.
    hosted.layout->updateGeometry();
    settle();
    EXPECT_EQ(hosted.reports.size(), 1u);
    hosted.layout->card()->setFixedHeight(400 - rest + 50);
    settle();
    ASSERT_EQ(hosted.layout->stepSection()->heightForWidth(496), 450);
    ASSERT_EQ(hosted.reports.size(), 2u);
    EXPECT_EQ(hosted.reports[1], QSizeF(560, 450 + 112 + footer));

    // A larger text size measures both sections again.
    MurvelEnvironment::of(&hosted.window)->setTypeSize(MurvelTypeSize::accessibility5);
    settle();
    ASSERT_GE(hosted.reports.size(), 3u);
    EXPECT_GT(hosted.reports.back().height(), hosted.reports[1].height());
    EXPECT_EQ(hosted.reports.back().width(), 560);
    EXPECT_EQ(hosted.reports.back().height(), hosted.layout->stepSection()->heightForWidth(496) + 112 +
                                                  hosted.layout->footer()->heightForWidth(496));
}

TEST(WelcomeStepsLayout, NothingIsReportedWithoutAReportAndTheFirstGoesToOneThatComesLater) {
    Hosted hosted(inputs(), 100, false);
    EXPECT_FALSE(hosted.layout->lastReport());
    std::vector<QSizeF> reports;
    MurvelEnvironment::of(&hosted.window)->setFixedWindowIdealSize(FixedWindowSizeReport{[&](QSizeF size) {
        reports.push_back(size);
    }});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].height(), hosted.layout->naturalHeight());
}

TEST(WelcomeStepsLayout, OnAShortScreenTheStepsScrollAndTheFooterStaysInView) {
    auto in = inputs();
    in.note = QStringLiteral("You can change this later in Preferences.");
    Hosted hosted(in, 500);
    const int natural = hosted.layout->naturalHeight();
    ASSERT_GT(natural, 700);
    // The window is capped at 600; the layout may still be laid out at its natural height.
    hosted.window.resize(560, 600);
    settle();
    QScrollArea* area = hosted.layout->stepScrollArea();
    EXPECT_LT(area->height(), hosted.layout->stepSection()->height());
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0) << "the steps scroll";
    for (QWidget* kept : {static_cast<QWidget*>(hosted.layout->loginSwitch()),
                          static_cast<QWidget*>(hosted.layout->primaryButton()),
                          static_cast<QWidget*>(hosted.layout->noteView())}) {
        const QRect rect = rectIn(kept, &hosted.window);
        EXPECT_GE(rect.top(), 0);
        EXPECT_LE(rect.bottom(), 600 - 32);
    }
    EXPECT_EQ(rectIn(hosted.layout->footer(), &hosted.window).top(), 48 + area->height() + 32);
    EXPECT_EQ(hosted.reports.back().height(), natural) << "the report stays the natural height";

    // Tall enough again: no scrolling.
    hosted.window.resize(560, natural);
    settle();
    EXPECT_EQ(area->height(), hosted.layout->stepSection()->height());
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
}

TEST(WelcomeStepsLayout, TheSwitchAsksItsOwnerOrKeepsItsOwnPosition) {
    std::vector<bool> asked;
    auto in = inputs();
    in.requestOpensAtLogin = [&](bool on) { asked.push_back(on); };
    Hosted bound(in);
    bound.layout->loginSwitch()->click();
    EXPECT_EQ(asked, std::vector<bool>{true});
    EXPECT_FALSE(bound.layout->loginSwitch()->isChecked()) << "the owner decides";
    bound.layout->setOpensAtLogin(true);
    EXPECT_TRUE(bound.layout->loginSwitch()->isChecked());
    EXPECT_EQ(asked.size(), 1u) << "a value that arrives is not written back";

    Hosted own(inputs());
    own.layout->loginSwitch()->click();
    EXPECT_TRUE(own.layout->loginSwitch()->isChecked());
}

} // namespace
