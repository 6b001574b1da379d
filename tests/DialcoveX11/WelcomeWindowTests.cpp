#include "Dialcove/Shell/AppWindows.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/WindowManager.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The X windows whose name is exactly `name`, as xdotool finds them.
QStringList windowsNamed(const QString& name) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + name + QLatin1Char('$')});
    if (!search.waitForFinished(5000))
        return {};
    return QString::fromLocal8Bit(search.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The welcome as the app opens it, with a finish that does what the app's does: it stores the flag,
// then closes the window.
struct WelcomeOnTheDisplay {
    TestSupport::XdgSandbox xdg;
    PanelGraph graph{Dialcove::ContactPermission::unknown};
    Platform::UserDefaults defaults{xdg.path("config/dialcove/dialcove.ini")};
    int finishes = 0;
    QWidget* window = nullptr;

    WelcomeOnTheDisplay() {
        EXPECT_TRUE(xdotool({"mousemove", "640", "400"}));
        window = Dialcove::showWelcomeWindow(*graph.panel, [this] {
            ++finishes;
            defaults.setBool(QStringLiteral("hasSeenWelcome"), true);
            Dialcove::closeWelcomeWindow();
        });
        EXPECT_TRUE(waitUntil([&] { return window->isVisible() && window->windowHandle()->isExposed(); }));
        syncWithX();
    }

    Dialcove::ContactsWelcomeView* view() const {
        return window->findChild<Dialcove::ContactsWelcomeView*>();
    }

    void focus() const {
        ASSERT_TRUE(xdotool({"windowfocus", "--sync", QString::number(window->winId())}));
        ASSERT_TRUE(waitUntil([&] { return window->isActiveWindow(); }));
        syncWithX();
    }
};

TEST(WelcomeWindowOnTheDisplay, IsNamedForTheAppAndAsTallAsItsPageRoundedUpToFour) {
    WelcomeOnTheDisplay w;
    ASSERT_NE(w.view(), nullptr);
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Dialcove"));
    EXPECT_EQ(windowsNamed(QStringLiteral("Dialcove")).size(), 1);
    EXPECT_EQ(w.window->width(), 560);
    ASSERT_TRUE(w.view()->lastReport());
    ASSERT_TRUE(waitUntil([&] {
        return w.window->height() == int(std::ceil(w.view()->lastReport()->height() / 4.0)) * 4;
    })) << w.window->height()
        << " for a report of " << w.view()->lastReport()->height();
    EXPECT_EQ(w.view()->lastReport()->width(), 560);
}

TEST(WelcomeWindowOnTheDisplay, ReturnFinishesAndCloses) {
    WelcomeOnTheDisplay w;
    w.focus();
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(waitUntil([&] { return !w.window->isVisible(); }));
    EXPECT_EQ(w.finishes, 1);
    EXPECT_TRUE(w.defaults.boolValue(QStringLiteral("hasSeenWelcome")));
    EXPECT_TRUE(w.graph.permission->requests.empty()) << "finishing never asks for access";
    // The app goes on after its last window closed.
    bool running = false;
    QTimer::singleShot(0, [&running] { running = true; });
    EXPECT_TRUE(waitUntil([&] { return running; }));
}

TEST(WelcomeWindowOnTheDisplay, ControlWClosesWithoutFinishing) {
    WelcomeOnTheDisplay w;
    w.focus();
    ASSERT_TRUE(xdotool({"key", "ctrl+w"}));
    ASSERT_TRUE(waitUntil([&] { return !w.window->isVisible(); }));
    EXPECT_EQ(w.finishes, 0);
    EXPECT_FALSE(w.defaults.boolValue(QStringLiteral("hasSeenWelcome")));

    // Shown again: the same window and page.
    Dialcove::ContactsWelcomeView* view = w.view();
    EXPECT_EQ(Dialcove::showWelcomeWindow(*w.graph.panel, [] {}), w.window);
    ASSERT_TRUE(waitUntil([&] { return w.window->isVisible(); }));
    EXPECT_EQ(w.view(), view);
    Dialcove::closeWelcomeWindow();
    ASSERT_TRUE(waitUntil([&] { return !w.window->isVisible(); }));
    EXPECT_EQ(w.finishes, 0);
}

// A window manager frames the window only after it is mapped, so the first showing is centred
// without its frame; it is centred again with it, and opens there each time after.
TEST(WelcomeWindowOnTheDisplay, UnderAWindowManagerOpensCentredWithItsFrameEachTime) {
    TestSupport::WindowManager manager;
    ASSERT_TRUE(manager.isRunning());
    WelcomeOnTheDisplay w;
    const auto framed = [&] { return w.window->frameGeometry().top() < w.window->geometry().top(); };
    const auto centred = [&] {
        const QRect frame = w.window->frameGeometry();
        const QRect visible = w.window->screen()->availableGeometry();
        const double top = visible.top() + visible.height() * 0.5 - frame.height() * 0.5;
        return framed() && std::abs(frame.top() - top) <= 0.5;
    };
    ASSERT_TRUE(waitUntil(framed));
    EXPECT_TRUE(waitUntil(centred)) << "the frame's top is at " << w.window->frameGeometry().top()
                                    << " for a frame " << w.window->frameGeometry().height() << " high";
    const QRect first = w.window->frameGeometry();
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        Dialcove::closeWelcomeWindow();
        ASSERT_TRUE(waitUntil([&] { return !w.window->isVisible(); }));
        Dialcove::showWelcomeWindow(*w.graph.panel, [] {});
        ASSERT_TRUE(waitUntil([&] { return w.window->isVisible() && framed(); }));
        syncWithX();
        EXPECT_TRUE(waitUntil(centred));
        EXPECT_EQ(w.window->frameGeometry(), first);
    }
}

} // namespace
