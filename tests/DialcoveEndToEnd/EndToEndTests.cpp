#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "EndToEndFixture.hpp"

#include <csignal>

namespace {

using namespace EndToEndTest;

TEST_F(EndToEnd, TheTrayIconAndTheHotKeyOpenThePanelAndAnEMailGoesOutOnce) {
    ASSERT_FALSE(trayer.isEmpty());
    startTray();
    {
        DialcoveRun run(environment());
        ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
        ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << "the icon is embedded\n" << windowList();
        const DesktopWindow trayIcon = settledIcon();

        // 1. The hot key maps the panel under the icon.
        ASSERT_TRUE(key("ctrl+alt+k"));
        ASSERT_TRUE(waitUntil([&] { return panel().has_value(); }));
        const QRect frame = panel()->frame;
        EXPECT_GE(frame.top(), trayIcon.frame.bottom());
        EXPECT_LE(frame.top(), trayIcon.frame.bottom() + 32);
        EXPECT_TRUE(frame.left() <= trayIcon.frame.center().x() &&
                    trayIcon.frame.center().x() <= frame.right())
            << "under the icon\n"
            << windowList() << "icon " << trayIcon.frame.x() << "," << trayIcon.frame.y() << "\n"
            << run.log().constData();

        // 2. Two contacts match; the second one's address goes out, once.
        ASSERT_TRUE(xdotool({"type", "--delay", "40", "lima"}));
        QTest::qWait(300);
        ASSERT_TRUE(key("Down Return Right Return"));
        ASSERT_TRUE(waitUntil([&] { return !xdgOpen.calls().empty(); })) << run.log().constData();
        QTest::qWait(300);
        EXPECT_EQ(xdgOpen.calls(), std::vector{QStringList{"mailto:bruno@example.com"}});
        EXPECT_TRUE(waitUntil([&] { return !panel(); })) << "the panel is unmapped";

        // 3. Control-Q in the panel quits: the hot key is free within two seconds, and the program
        // exits with 0 (the sanitizers' leak scan at exit takes its own time on top).
        ASSERT_TRUE(key("ctrl+alt+k"));
        ASSERT_TRUE(waitUntil([&] { return panel().has_value(); }));
        QTest::qWait(200);
        ASSERT_TRUE(key("ctrl+q"));
        const qint64 freed = millisecondsUntilTheHotKeyIsFree();
        EXPECT_GE(freed, 0);
        EXPECT_LT(freed, 2000);
        EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
        expectTheHotKeyFree();
    }
    const std::optional<QStringList> recents =
        Platform::UserDefaults(defaultsPath()).stringArray(Dialcove::LocalRecentStorage::key);
    ASSERT_TRUE(recents && !recents->isEmpty());
    EXPECT_EQ(recents->front(), "bruno");

    // 4. The next start lists it first: the same address again.
    DialcoveRun again(environment());
    ASSERT_TRUE(again.waitUntilRunning()) << again.log().constData();
    ASSERT_TRUE(key("ctrl+alt+k"));
    ASSERT_TRUE(waitUntil([&] { return panel().has_value(); }));
    QTest::qWait(300);
    ASSERT_TRUE(key("Return Right Return"));
    ASSERT_TRUE(waitUntil([&] { return xdgOpen.calls().size() >= 2; })) << again.log().constData();
    EXPECT_EQ(xdgOpen.calls().back(), QStringList{"mailto:bruno@example.com"});
    again.process().terminate();
    EXPECT_EQ(again.exitWithin(10000), 0) << again.log().constData();
}

// A click on the icon opens the panel, a second closes it: the second click lands on the icon where
// trayer has moved it, so it is not taken for a click outside the panel.
TEST_F(EndToEnd, AClickOnTheIconOpensThePanelAndASecondClosesIt) {
    startTray();
    DialcoveRun run(environment());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << windowList() << run.log().constData();
    const DesktopWindow trayIcon = settledIcon();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(clickOn(trayIcon));
        EXPECT_TRUE(waitUntil([&] { return panel().has_value(); })) << "round " << round << "\n"
                                                                    << windowList();
        QTest::qWait(300);
        ASSERT_TRUE(clickOn(trayIcon));
        EXPECT_TRUE(waitUntil([&] { return !panel(); })) << "round " << round << "\n" << windowList();
        // The icon's click closes it once: it does not come back.
        QTest::qWait(500);
        EXPECT_FALSE(panel().has_value()) << "round " << round;
    }
    run.process().terminate();
    EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
}

TEST_F(EndToEnd, SigtermFreesTheHotKeyWithinTwoSecondsAndExitsWithZero) {
    startTray();
    DialcoveRun run(environment());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << windowList() << run.log().constData();
    EXPECT_FALSE(client.grabKey(k, controlAlt)) << "it holds the hot key";
    run.process().terminate();
    const qint64 freed = millisecondsUntilTheHotKeyIsFree();
    EXPECT_GE(freed, 0);
    EXPECT_LT(freed, 2000) << "the hot key is let go within two seconds";
    EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
    expectTheHotKeyFree();
    EXPECT_TRUE(waitUntil([&] { return !icon(); })) << "the tray holds no icon";
}

// A second start toggles the running copy's panel, as the hot key does, says so in one line and
// leaves with 0; the first copy keeps its grab. The desktop's startup id travels with the request
// and lands on the panel's window.
TEST_F(EndToEnd, ASecondStartTogglesTheRunningCopysPanelAndLeaves) {
    DialcoveRun first(environment());
    ASSERT_TRUE(first.waitUntilRunning()) << first.log().constData();

    for (const bool opens : {true, false}) {
        QProcessEnvironment launched = environment();
        launched.insert("DESKTOP_STARTUP_ID", "launcher-1_TIME42");
        DialcoveRun second(launched);
        EXPECT_EQ(second.exitWithin(10000), 0) << second.log().constData();
        EXPECT_EQ(second.process().readAllStandardOutput(), "Dialcove is already running\n");
        EXPECT_TRUE(waitUntil([&] { return panel().has_value() == opens; }))
            << (opens ? "opened\n" : "closed\n") << windowList() << first.log().constData();
        if (opens) {
            EXPECT_EQ(client.textProperty(panel()->id, "_NET_STARTUP_ID"), "launcher-1_TIME42");
        }
    }
    EXPECT_EQ(first.process().state(), QProcess::Running);
    EXPECT_FALSE(client.grabKey(k, controlAlt)) << "the first copy still holds the hot key";

    // A copy that was killed leaves no lock behind, and its socket does not stand in the way of the
    // next copy's.
    first.process().kill();
    first.process().waitForFinished(5000);
    DialcoveRun third(environment());
    ASSERT_TRUE(third.waitUntilRunning()) << third.log().constData();
    DialcoveRun fourth(environment());
    EXPECT_EQ(fourth.exitWithin(10000), 0) << fourth.log().constData();
    EXPECT_TRUE(waitUntil([&] { return panel().has_value(); })) << windowList() << third.log().constData();
}

// A running copy that does not answer (stopped here) does not hold up a second start for long: it
// says so and fails. Nothing opens later when the copy goes on.
TEST_F(EndToEnd, ASecondStartThatIsNotAnsweredFailsWithinItsBound) {
    DialcoveRun first(environment());
    ASSERT_TRUE(first.waitUntilRunning()) << first.log().constData();
    ASSERT_EQ(::kill(pid_t(first.process().processId()), SIGSTOP), 0);

    QElapsedTimer clock;
    clock.start();
    DialcoveRun second(environment());
    const std::optional<int> status = second.exitWithin(15000);
    const qint64 took = clock.elapsed();
    ::kill(pid_t(first.process().processId()), SIGCONT);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_LT(took, 10000) << "a short bound";
    EXPECT_TRUE(second.log().contains("Dialcove is already running but does not answer")) << second.log().constData();
    EXPECT_TRUE(second.process().readAllStandardOutput().isEmpty());
    QTest::qWait(1500);
    EXPECT_FALSE(panel().has_value()) << "the request it gave up on is dropped\n" << windowList();
    EXPECT_EQ(first.process().state(), QProcess::Running);
}

TEST_F(EndToEnd, WithoutATrayTheHotKeyOpensThePanelAtTheTopCentre) {
    DialcoveRun run(environment());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    ASSERT_TRUE(xdotool({"mousemove", "640", "400"}));
    ASSERT_TRUE(key("ctrl+alt+k"));
    ASSERT_TRUE(waitUntil([&] { return panel().has_value(); })) << run.log().constData();
    const QRect frame = panel()->frame;
    EXPECT_NEAR(frame.center().x(), 640, 1);
    EXPECT_LE(frame.top(), 32);
}

} // namespace
