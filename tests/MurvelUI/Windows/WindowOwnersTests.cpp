#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Windows/FixedWindow.hpp"
#include "MurvelUI/Windows/PreferencesWindow.hpp"
#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"
#include "MurvelUI/Windows/WelcomeWindow.hpp"
#include "TwoScreens.hpp"
#include "tests/support/EventLoop.hpp"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace MurvelUI;
using TestSupport::drainEvents;

// The owners keep their windows for the life of the process; ctest runs every case in a process
// of its own, so each case starts with none.
namespace {

QWidget* buildField(int& builds, QLineEdit*& edit) {
    ++builds;
    auto* content = new QWidget;
    content->setFixedSize(560, 200);
    edit = new QLineEdit(content);
    return content;
}

TEST(WindowOwners, CloseBeforeShowMakesNoWindow) {
    if (PreferencesWindow::fixedWindow().window())
        GTEST_SKIP() << "needs a process of its own";
    PreferencesWindow::close();
    WelcomeStepsWindow::close();
    WelcomeWindow::close();
    EXPECT_EQ(PreferencesWindow::fixedWindow().window(), nullptr);
    EXPECT_EQ(WelcomeStepsWindow::fixedWindow().window(), nullptr);
    EXPECT_EQ(WelcomeWindow::window(), nullptr);
}

TEST(WindowOwners, PreferencesAreBuiltOnceAndALaterWidthIsIgnored) {
    int builds = 0;
    QLineEdit* edit = nullptr;
    QWidget* first = PreferencesWindow::show(QStringLiteral("Preferences"), false, {},
                                             [&] { return buildField(builds, edit); });
    drainEvents();
    EXPECT_EQ(first->width(), 560);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Preferences"));

    QWidget* second =
        PreferencesWindow::show(QStringLiteral("Other"), true, {}, [&] { return buildField(builds, edit); });
    drainEvents();
    EXPECT_EQ(second, first);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(second->width(), 560);
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Preferences"));
}

TEST(WindowOwners, TypedTextSurvivesAReopen) {
    int builds = 0;
    QLineEdit* edit = nullptr;
    const auto build = [&] { return buildField(builds, edit); };
    QWidget* window = PreferencesWindow::show(QStringLiteral("Preferences"), false, {}, build);
    drainEvents();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("kept"));
    int closes = 0;
    PreferencesWindow::show(
        QStringLiteral("Preferences"), false, [&closes] { ++closes; }, build);
    PreferencesWindow::close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closes, 1);

    EXPECT_EQ(PreferencesWindow::show(QStringLiteral("Preferences"), false, {}, build), window);
    drainEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(edit->text(), QStringLiteral("kept"));
    EXPECT_EQ(builds, 1);
}

TEST(WindowOwners, BothWindowsOpenAtOnceAndTheLastCloseDoesNotQuit) {
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    int builds = 0;
    QLineEdit* edit = nullptr;
    QWidget* preferences = PreferencesWindow::show(QStringLiteral("Preferences"), false, {},
                                                   [&] { return buildField(builds, edit); });
    QWidget* steps = WelcomeStepsWindow::show(QStringLiteral("Dialcove"), {}, [] {
        auto* content = new QLabel(QStringLiteral("Welcome"));
        return content;
    });
    drainEvents();
    EXPECT_NE(preferences, steps);
    EXPECT_TRUE(preferences->isVisible());
    EXPECT_TRUE(steps->isVisible());
    EXPECT_EQ(steps->width(), 560);
    // The welcome steps hand their content a way to report its size.
    EXPECT_TRUE(MurvelEnvironment::of(steps)->fixedWindowIdealSize().has_value());
    EXPECT_FALSE(MurvelEnvironment::of(preferences)->fixedWindowIdealSize().has_value());

    QTest::keyClick(steps, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(preferences, Qt::Key_Escape);
    EXPECT_FALSE(preferences->isVisible());
    EXPECT_FALSE(steps->isVisible());

    // The event loop goes on: closing every window ends nothing.
    bool stillRunning = false;
    QTimer::singleShot(0, [&stillRunning] { stillRunning = true; });
    drainEvents();
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(lastClosed.count(), 0);
    EXPECT_EQ(quitting.count(), 0);
}

TEST(WindowOwners, ThePlainWelcomeWindowIsMadeOnceAndCentred) {
    QCursor::setPos(WindowTest::secondArea.center());
    int builds = 0;
    const auto build = [&builds] {
        ++builds;
        auto* label = new QLabel(QStringLiteral("Welcome"));
        label->setFixedSize(400, 300);
        return label;
    };
    QWidget* window = WelcomeWindow::show(QStringLiteral("Dialcove"), build);
    drainEvents();
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_TRUE(WindowTest::secondArea.contains(window->frameGeometry()));
    WelcomeWindow::close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(WelcomeWindow::show(QStringLiteral("Other"), build), window);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dialcove"));
}

} // namespace
