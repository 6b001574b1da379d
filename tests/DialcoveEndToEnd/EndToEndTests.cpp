#include "DesktopWindows.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

QByteArray card(const char* uid, const char* name, const char* family, const char* line) {
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nFN:" + name + "\r\nN:" + family +
           ";;;;\r\n" + line + "\r\nEND:VCARD\r\n";
}

// Starting a sanitized build on a busy machine takes longer than the usual five seconds.
template <typename Condition> bool waitLong(Condition condition) {
    return QTest::qWaitFor(condition, 20000);
}

// One run of the built program, killed if the test ends first.
class DialcoveRun {
public:
    explicit DialcoveRun(const QProcessEnvironment& environment) {
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(DIALCOVE_BINARY), {});
    }

    ~DialcoveRun() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    QProcess& process() { return process_; }

    // What it wrote to its error stream so far (its log).
    const QByteArray& log() {
        log_ += process_.readAllStandardError();
        return log_;
    }

    // Until the hot key is taken: the program is up.
    bool waitUntilRunning() {
        return waitLong(
                   [&] { return log().contains("grabbed") || process_.state() == QProcess::NotRunning; }) &&
               process_.state() == QProcess::Running;
    }

    // The exit status once it exited normally within `timeout` of now, else none.
    std::optional<int> exitWithin(int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (process_.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs)
            QTest::qWait(10);
        if (process_.state() != QProcess::NotRunning || process_.exitStatus() != QProcess::NormalExit)
            return std::nullopt;
        return process_.exitCode();
    }

private:
    QProcess process_;
    QByteArray log_;
};

// The program in a temporary home with three cards (Ana Lima and Bruno Lima with one e-mail address
// each, Carla Reis with a number), consent given and the welcome seen, a fake `xdg-open` first on
// its PATH, on this case's own Xvfb, beside a second X client.
class EndToEnd : public testing::Test {
protected:
    EndToEnd() {
        // The fake opener stands alone on PATH; xdotool and trayer still come from the real one.
        qputenv("PATH", qgetenv("PATH") + ":" + realPath);
        xdg.setVariable("HOME", QFile::encodeName(xdg.path("home")));
        xdg.setVariable(Platform::AddressBookSettings::kFolderVariable, std::nullopt);
        QDir().mkpath(xdg.path("home"));
        xdg.write("data/contacts/ana.vcf", card("ana", "Ana Lima", "Lima", "EMAIL:ana@example.com"));
        xdg.write("data/contacts/bruno.vcf", card("bruno", "Bruno Lima", "Lima", "EMAIL:bruno@example.com"));
        xdg.write("data/contacts/carla.vcf", card("carla", "Carla Reis", "Reis", "TEL:+55 21 98765-4321"));
        Platform::AddressBookSettings().setConsent(Platform::AddressBookSettings::Consent::given);
        Platform::UserDefaults(defaultsPath()).setBool("hasSeenWelcome", true);
    }

    ~EndToEnd() override {
        if (tray.state() != QProcess::NotRunning) {
            tray.terminate();
            tray.waitForFinished(5000);
        }
    }

    QString defaultsPath() const { return xdg.path("config/dialcove/dialcove.ini"); }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The fake opener's folder, then the real PATH.
        environment.insert("PATH", qEnvironmentVariable("PATH") + ":" + QString::fromLocal8Bit(realPath));
        // The program picks xcb by itself; no session bus, so the tray is trayer's XEmbed.
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        // The update check at start meets a closed port on this machine, never the network.
        environment.insert("DIALCOVE_UPDATE_SITE", "https://127.0.0.1:9");
        return environment;
    }

    // trayer across the top right of the screen; returns once its window shows.
    void startTray() {
        tray.start(trayer, {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                            "--height", "28", "--SetDockType", "false", "--SetPartialStrut", "false"});
        ASSERT_TRUE(waitUntil([&] {
            for (const DesktopWindow& window : viewableWindows(client.connection(), client.root()))
                if (window.belongsTo("trayer"))
                    return true;
            return false;
        }));
    }

    // The windows on the screen, for a failure's message.
    std::string windowList() const {
        std::string list;
        for (const DesktopWindow& w : viewableWindows(client.connection(), client.root()))
            list += QString("%1 in %2 at %3,%4 %5x%6 %7%8\n")
                        .arg(w.id)
                        .arg(w.parent)
                        .arg(w.frame.x())
                        .arg(w.frame.y())
                        .arg(w.frame.width())
                        .arg(w.frame.height())
                        .arg(QString::fromLatin1(w.wmClass))
                        .arg(w.overrideRedirect ? " override-redirect" : "")
                        .toStdString();
        return list;
    }

    std::optional<DesktopWindow> icon() const { return embeddedTrayIcon(client.connection(), client.root()); }
    // The tray lays its icons out after embedding them: the icon once it holds still.
    DesktopWindow settledIcon() const {
        DesktopWindow trayIcon = *icon();
        waitUntil([&] {
            QTest::qWait(100);
            const std::optional<DesktopWindow> now = icon();
            const bool still = now && now->frame == trayIcon.frame;
            if (now)
                trayIcon = *now;
            return still;
        });
        return trayIcon;
    }

    std::optional<DesktopWindow> panel() const { return shownPanel(client.connection(), client.root()); }

    bool key(const QString& keys) {
        QStringList arguments{"key", "--delay", "40"};
        arguments << keys.split(' ');
        return xdotool(arguments);
    }

    bool clickOn(const DesktopWindow& window) {
        const QPoint centre = window.frame.center();
        return xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
    }

    // Milliseconds from now until another client can take Control-Alt-K: the program let it go.
    qint64 millisecondsUntilTheHotKeyIsFree() {
        QElapsedTimer clock;
        clock.start();
        const bool free = waitLong([&] {
            const bool taken = client.grabKey(k, controlAlt);
            client.ungrabKeys();
            return taken;
        });
        return free ? clock.elapsed() : -1;
    }

    // Another client can grab Control-Alt-K in all four lock variants: nobody holds it.
    void expectTheHotKeyFree() {
        for (const uint16_t locks : lockVariants)
            EXPECT_TRUE(client.grabKey(k, controlAlt | locks)) << "lock variant " << locks;
        client.ungrabKeys();
    }

    TestSupport::XdgSandbox xdg;
    X11TestClient client;
    const xcb_keycode_t k = client.keycodeOf(XKB_KEY_k);
    const QString trayer = QStandardPaths::findExecutable("trayer");
    const QByteArray realPath = qgetenv("PATH");
    TestSupport::FakeXdgOpen xdgOpen;
    QProcess tray;
};

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

TEST_F(EndToEnd, ASecondStartLeavesAtOnceAndTheFirstKeepsItsGrab) {
    DialcoveRun first(environment());
    ASSERT_TRUE(first.waitUntilRunning()) << first.log().constData();

    DialcoveRun second(environment());
    EXPECT_EQ(second.exitWithin(10000), 0);
    EXPECT_TRUE(second.process().readAllStandardOutput().contains("Dialcove is already running"));
    EXPECT_EQ(first.process().state(), QProcess::Running);
    EXPECT_FALSE(client.grabKey(k, controlAlt)) << "the first copy still holds the hot key";

    // A copy that was killed leaves no lock behind.
    first.process().kill();
    first.process().waitForFinished(5000);
    DialcoveRun third(environment());
    EXPECT_TRUE(third.waitUntilRunning()) << third.log().constData();
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
