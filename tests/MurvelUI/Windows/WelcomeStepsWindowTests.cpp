#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Welcome/WelcomeStepsLayout.hpp"
#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"
#include "TwoScreens.hpp"
#include "tests/support/EventLoop.hpp"

#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>

using namespace MurvelUI;
using TestSupport::drainEvents;

namespace {

// A page whose step section holds a card `cardHeight` high.
WelcomeStepsLayout* page(int cardHeight) {
    WelcomeStepsLayout::Inputs in;
    in.brand = {QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                QColor(72, 200, 182), QColor(15, 138, 125)};
    in.title = QStringLiteral("Your contacts, one shortcut away");
    in.lead = QStringLiteral("Find a number from any app.");
    in.stepTitle = QStringLiteral("Allow access to your contacts");
    in.privacy = QStringLiteral("Your contacts, read only");
    in.privacySymbol = QStringLiteral("person.crop.rectangle");
    in.skip = WelcomeStepsButton{QStringLiteral("Start without setup"), false, {}};
    in.primary = {QStringLiteral("Let\u2019s go"), false, {}};
    auto* card = new QWidget;
    card->setFixedHeight(cardHeight);
    return new WelcomeStepsLayout(in, card);
}

// The welcome-steps window takes the height its page reports, rounded up to 4; on a screen too
// short for it, the window is capped, the steps scroll and the footer stays inside.
TEST(WelcomeStepsWindow, TakesThePagesHeightAndOnAShortScreenKeepsTheFooterInView) {
    if (WelcomeStepsWindow::fixedWindow().window())
        GTEST_SKIP() << "needs a process of its own";
    QCursor::setPos(WindowTest::secondArea.center());
    WelcomeStepsLayout* layout = nullptr;
    QWidget* window = WelcomeStepsWindow::show(QStringLiteral("Dialcove"), {}, [&] {
        layout = page(900);
        return layout;
    });
    ASSERT_TRUE(TestSupport::waitUntil([&] { return layout->lastReport().has_value(); }));
    drainEvents();
    const qreal natural = layout->lastReport()->height();
    EXPECT_EQ(layout->lastReport()->width(), 560);
    EXPECT_GT(natural, 700);
    EXPECT_EQ(window->screen()->name(), QStringLiteral("second"));
    EXPECT_LT(window->height(), natural) << "capped by the screen";
    EXPECT_LE(window->frameGeometry().height(), 700);

    QScrollArea* area = layout->stepScrollArea();
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0) << "the steps scroll";
    ASSERT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_LE(layout->stepSection()->width(), area->viewport()->width()) << "no text under the scroll bar";
    EXPECT_EQ(area->verticalScrollBar()->maximum(),
              layout->stepSection()->heightForWidth(layout->stepSection()->width()) -
                  area->viewport()->height())
        << "the narrower steps scroll to their end";
    for (QWidget* kept :
         {static_cast<QWidget*>(layout->loginSwitch()), static_cast<QWidget*>(layout->primaryButton()),
          static_cast<QWidget*>(layout->skipButton())}) {
        const QRect rect(kept->mapTo(window, QPoint(0, 0)), kept->size());
        EXPECT_GE(rect.top(), 0);
        EXPECT_LE(rect.bottom(), window->height() - 32) << "inside the window, above its inset";
    }

    // On the tall screen it takes the whole page, rounded up to 4.
    window->close();
    drainEvents();
    QCursor::setPos(WindowTest::primaryArea.center());
    layout->card()->setFixedHeight(100);
    WelcomeStepsWindow::show(QStringLiteral("Dialcove"), {}, {});
    ASSERT_TRUE(TestSupport::waitUntil([&] { return layout->lastReport()->height() < 700; }));
    drainEvents();
    EXPECT_EQ(window->height(), int(std::ceil(layout->lastReport()->height() / 4)) * 4);
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(area->height(), layout->stepSection()->height());
    EXPECT_EQ(layout->stepSection()->width(), WelcomeStepsLayout::pageWidth) << "the whole page width again";
}

} // namespace
