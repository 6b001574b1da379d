#pragma once

#include "DesktopWindows.hpp"
#include "Platform/Contacts/AddressBookSettings.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace EndToEndTest {

inline constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
inline constexpr uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                            XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

inline QByteArray card(const char* uid, const char* name, const char* family, const char* line) {
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
    // The built program, or `program` (an installed copy).
    explicit DialcoveRun(const QProcessEnvironment& environment,
                         const QString& program = QStringLiteral(DIALCOVE_BINARY)) {
        process_.setProcessEnvironment(environment);
        process_.start(program, {});
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
        // Its debug lines say when it is up (the hot key grabbed).
        environment.insert("QT_LOGGING_RULES", "works.murvel.dialcove.*.debug=true");
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

    // A top-level window of the program that is not its panel: the preferences or the welcome.
    std::optional<DesktopWindow> otherWindow() const {
        for (const DesktopWindow& window : viewableWindows(client.connection(), client.root()))
            if (window.belongsTo("dialcove") && window.parent == client.root() && !window.overrideRedirect)
                return window;
        return std::nullopt;
    }

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

} // namespace EndToEndTest
