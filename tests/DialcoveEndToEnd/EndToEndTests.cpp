#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "EndToEndFixture.hpp"
#include "tests/support/QtPrinters.hpp"

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

// The menu entry asks for startup notification, so the launcher's busy pointer spins until the start
// ends: a first start ends its own once launched, and only once, though Qt would also end it when
// the tray embeds the icon. The welcome window answers the start, and so may take the focus; a
// start that settles in the tray ends it at once. A desktop that hands only an activation token
// has that ended. A start the launcher did not mark says nothing.
// A program it starts later (here the e-mail's opener) inherits none of the start's ids.
TEST_F(EndToEnd, AFirstStartEndsItsStartupNotificationOnceLaunched) {
    struct Case {
        const char* startupId;
        const char* token;
        bool welcome;
        std::vector<QByteArray> heard;
        bool startsAProgram;
    };
    const Case cases[] = {
        {"launcher-3_TIME42", "token-3", false, {R"(remove: ID="launcher-3_TIME42")"}, true},
        {"launcher-4_TIME43", nullptr, true, {R"(remove: ID="launcher-4_TIME43")"}, false},
        {nullptr, "token-5", false, {R"(remove: ID="token-5")"}, false},
        {nullptr, nullptr, false, {}, false},
    };
    startTray();
    client.listenForStartupMessages();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.startupId ? c.startupId : c.token ? c.token : "no id");
        Platform::UserDefaults(defaultsPath()).setBool("hasSeenWelcome", !c.welcome);
        const std::size_t before = client.startupMessages().size();
        QProcessEnvironment launched = environment();
        launched.remove("DESKTOP_STARTUP_ID");
        launched.remove("XDG_ACTIVATION_TOKEN");
        if (c.startupId)
            launched.insert("DESKTOP_STARTUP_ID", c.startupId);
        if (c.token)
            launched.insert("XDG_ACTIVATION_TOKEN", c.token);
        DialcoveRun run(launched);
        ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
        ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << windowList();
        if (c.welcome) {
            ASSERT_TRUE(waitUntil([&] { return otherWindow().has_value(); })) << windowList();
            EXPECT_EQ(client.textProperty(otherWindow()->id, "_NET_STARTUP_ID"), QByteArray(c.startupId));
        }
        if (!c.heard.empty()) {
            EXPECT_TRUE(waitLong([&] { return client.startupMessages().size() > before; }));
        }
        QTest::qWait(500);
        const std::vector<QByteArray> all = client.startupMessages();
        EXPECT_EQ(std::vector(all.begin() + qsizetype(before), all.end()), c.heard) << run.log().constData();
        if (c.startsAProgram) {
            ASSERT_TRUE(key("ctrl+alt+k"));
            ASSERT_TRUE(waitUntil([&] { return panel().has_value(); })) << run.log().constData();
            QTest::qWait(300);
            ASSERT_TRUE(xdotool({"type", "--delay", "40", "bruno"}));
            QTest::qWait(300);
            ASSERT_TRUE(key("Return Right Return"));
            ASSERT_TRUE(waitUntil([&] { return !xdgOpen.calls().empty(); })) << run.log().constData();
            EXPECT_EQ(xdgOpen.calls().back(), QStringList{"mailto:bruno@example.com"});
            EXPECT_EQ(xdgOpen.inheritedStartupIds(), "");
        }
        run.process().terminate();
        EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
    }
}

// A default start keeps its debug lines to itself (a grabbed key, an update site that is not there,
// no sync folder) and writes them when asked to.
TEST_F(EndToEnd, ItsDebugLinesShowOnlyWhenAskedFor) {
    startTray();
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked ? "asked for" : "by default");
        QProcessEnvironment started = environment();
        started.remove("DIALCOVE_UPDATE_SITE");
        started.insert("QT_MESSAGE_PATTERN", "%{type} %{category}: %{message}");
        if (!asked)
            started.remove("QT_LOGGING_RULES");
        DialcoveRun run(started);
        ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << windowList() << run.log().constData();
        if (asked) {
            EXPECT_TRUE(waitLong([&] { return run.log().contains("debug works.murvel.dialcove.hotkey: "); }))
                << run.log().constData();
        } else {
            // Long enough for the update check at start to have failed.
            QTest::qWait(3000);
            EXPECT_FALSE(run.log().contains("debug works.murvel.dialcove.")) << run.log().constData();
        }
        run.process().terminate();
        EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
        EXPECT_TRUE(waitUntil([&] { return !icon(); }));
    }
}

// The terminal it was started from closing ends it as SIGTERM does; and SIGTERM ends it at once
// also while it is still reading a large book it was started over.
TEST_F(EndToEnd, SighupEndsItCleanlyAndSigtermDoesSoWhileALargeBookIsRead) {
    {
        DialcoveRun run(environment());
        ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
        ::kill(static_cast<pid_t>(run.process().processId()), SIGHUP);
        EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
    }
    expectTheHotKeyFree();

    const QString bulk = xdg.path("data/contacts/bulk");
    ASSERT_TRUE(QDir().mkpath(bulk));
    for (int i = 0; i < 30000; ++i) {
        QFile file(QString("%1/%2.vcf").arg(bulk).arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(card(QByteArray::number(i).constData(), "Bulk Card", "Card", "TEL:+1 555 0100"));
    }
    DialcoveRun run(environment());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    run.process().terminate();
    EXPECT_EQ(run.exitWithin(2000), 0) << "ended within two seconds\n" << run.log().constData();
}

// A second start toggles the running copy's panel, as the hot key does, says so in one line and
// leaves with 0; the first copy keeps its grab. The desktop's startup id travels with the request
// and lands on the panel's window; either way the running copy ends that start for the launcher,
// once, whether the panel opened or closed.
TEST_F(EndToEnd, ASecondStartTogglesTheRunningCopysPanelAndLeaves) {
    DialcoveRun first(environment());
    ASSERT_TRUE(first.waitUntilRunning()) << first.log().constData();
    client.listenForStartupMessages();

    for (const bool opens : {true, false}) {
        const QByteArray id = opens ? "launcher-1_TIME42" : "launcher-2_TIME44";
        const std::size_t before = client.startupMessages().size();
        QProcessEnvironment launched = environment();
        launched.insert("DESKTOP_STARTUP_ID", id);
        DialcoveRun second(launched);
        EXPECT_EQ(second.exitWithin(10000), 0) << second.log().constData();
        EXPECT_EQ(second.process().readAllStandardOutput(), "Dialcove is already running\n");
        EXPECT_TRUE(waitUntil([&] { return panel().has_value() == opens; }))
            << (opens ? "opened\n" : "closed\n") << windowList() << first.log().constData();
        if (opens) {
            EXPECT_EQ(client.textProperty(panel()->id, "_NET_STARTUP_ID"), id);
        }
        EXPECT_TRUE(waitUntil([&] { return client.startupMessages().size() > before; }));
        QTest::qWait(300);
        const std::vector<QByteArray> all = client.startupMessages();
        EXPECT_EQ(std::vector(all.begin() + qsizetype(before), all.end()),
                  std::vector<QByteArray>{"remove: ID=\"" + id + "\""});
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
