#include "Dialcove/Shell/DialcoveApp.hpp"

#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/AppWindowIcon.hpp"
#include "Dialcove/Shell/AppWindows.hpp"
#include "Dialcove/Shell/ApplicationIdentity.hpp"
#include "Dialcove/Shell/ContactsAppDelegate.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Shell/SettingsCommand.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"
#include "Platform/InstanceChannel.hpp"
#include "Platform/SingleInstanceLock.hpp"
#include "Platform/TerminationSignals.hpp"
#include "Platform/UrlOpener.hpp"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdio>
#include <optional>

namespace Dialcove {

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Hands the URL to `xdg-open` and reports it handed over; the opener's verdict comes later.
bool openThroughDesktop(const QUrl& url) {
    const QString text = url.toString(QUrl::FullyEncoded);
    if (!Platform::UrlOpener::isWellFormed(text))
        return false;
    [](QString text) -> QCoro::Task<> { co_await Platform::UrlOpener::open(std::move(text)); }(text);
    return true;
}

// The windows the runtime opens.
LiveRuntime::Windows appWindows() {
    return {.showPreferences = [](ContactSettings& settings) { showPreferencesWindow(settings); },
            .showWelcome =
                [](ContactsPanel& panel, std::function<void()> finish,
                   const std::function<void(QWindow&)>& beforeShow) {
                    showWelcomeWindow(panel, std::move(finish), beforeShow);
                },
            .closeWelcome = [] { closeWelcomeWindow(); }};
}

QString channelPath(const Platform::SingleInstanceLock& lock) {
    return lock.folder() + u'/' + lock.baseName() + QStringLiteral(".socket");
}

// This start found a copy running: it asks that copy for the panel and leaves. A copy that does
// not answer in time (hung, or a socket left from one that ended) is said so, and the start fails.
int askTheRunningCopy(const Platform::SingleInstanceLock& lock) {
    const Platform::InstanceChannel::Request request{qgetenv("XDG_ACTIVATION_TOKEN"), qgetenv("DESKTOP_STARTUP_ID")};
    const Platform::InstanceChannel::Sent sent =
        Platform::InstanceChannel::send(channelPath(lock), request, DialcoveApp::secondStartBound);
    if (!sent.delivered) {
        std::fprintf(stderr, "Dialcove is already running but does not answer (%s)\n",
                     qPrintable(sent.problem));
        return 1;
    }
    std::fputs("Dialcove is already running\n", stdout);
    return 0;
}

} // namespace

DialcoveApp::DialcoveApp(int& argc, char** argv) : argc_(argc), argv_(argv) {}

void DialcoveApp::configureApplication() {
    applyApplicationIdentity();
    LinuxStrings::install();
    QApplication::setWindowIcon(appWindowIcon());
    // The panel and the other windows come and go; the tray icon keeps the program.
    QApplication::setQuitOnLastWindowClosed(false);
    MurvelUI::MurvelEnvironment::setDefaultUrlOpener(&openThroughDesktop);
}

int DialcoveApp::run() {
    const QStringList arguments = argumentsOf(argc_, argv_);
    // Answered before anything else, so it works without a display and beside a running copy.
    if (arguments.size() == 2 && arguments[1] == QLatin1String("--version")) {
        applyApplicationIdentity();
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    // The program's debug lines are for whoever asks (QT_LOGGING_RULES, which Qt applies after
    // these rules): a default start says nothing of a check that had nothing to find.
    QLoggingCategory::setFilterRules(QStringLiteral("works.murvel.dialcove.*.debug=false"));

    // A snapshot builds no tray icon, key grab or network check and writes nothing, so it runs
    // beside the live copy; it draws everything doubled, which Qt reads before it starts.
    const bool snapshot = argumentsAskForSnapshot(arguments);
    if (snapshot)
        MurvelUI::MurvelSnapshot::prepareDoubling(argc_, argv_);

    // One copy per user and display; a second start hands its request to the first and leaves
    // before it touches the display.
    std::optional<Platform::SingleInstanceLock> lock;
    if (!snapshot) {
        lock.emplace(QStringLiteral("dialcove"), qEnvironmentVariable("DISPLAY"));
        switch (lock->tryLock()) {
        case Platform::SingleInstanceLock::Outcome::acquired:
            break;
        case Platform::SingleInstanceLock::Outcome::running:
            return askTheRunningCopy(*lock);
        case Platform::SingleInstanceLock::Outcome::refused:
            // Running without the lock could let two copies fight over the hot key and the files.
            std::fprintf(stderr, "Dialcove cannot start: %s. Set XDG_RUNTIME_DIR to a folder of your own.\n",
                         qPrintable(lock->problem()));
            return 1;
        }
    }

    // What the desktop handed this start is the runtime's to end once launched, with a window shown
    // or none. Taken before Qt's xcb platform reads the id, which would end the start only at the
    // first window it shows: the tray icon whenever a tray embeds it, or a panel minutes later. And
    // taken out of the environment, so that no program started from here answers this start.
    Platform::WindowSystem::Activation launch;
    if (lock) {
        launch = {qgetenv("XDG_ACTIVATION_TOKEN"), qgetenv("DESKTOP_STARTUP_ID")};
        qunsetenv("XDG_ACTIVATION_TOKEN");
        qunsetenv("DESKTOP_STARTUP_ID");
    }

    // The hot key and the panel window are built on Qt's xcb platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc_, argv_);
    configureApplication();
    if (snapshot)
        MurvelUI::MurvelEnvironment::setDefaultUrlOpener([](const QUrl&) { return false; });

    ContactsAppDelegate delegate(appWindows(), {.launch = launch});
    // Made once the lock is ours, so whatever is at its path is left from a copy that ended.
    std::optional<Platform::InstanceChannel> channel;
    if (lock) {
        channel.emplace(channelPath(*lock));
        channel->listen();
    }
    SettingsCommand settings([&delegate] { delegate.settingsCommand(); });
    Platform::TerminationSignals termination;
    QObject::connect(&termination, &Platform::TerminationSignals::received, &app,
                     // exit, not quit: a signal ends the program even where a window refuses to
                     // close (the snapshot window always does).
                     [] { QApplication::exit(0); });
    QObject::connect(&app, &QApplication::aboutToQuit, &delegate,
                     &ContactsAppDelegate::applicationWillTerminate);
    // Launching finishes once the event loop runs.
    QTimer::singleShot(0, &delegate, [&delegate, &channel, arguments] {
        delegate.applicationDidFinishLaunching(arguments);
        // Second starts that came while the app started wait for the runtime.
        if (channel)
            channel->setHandler([&delegate](const Platform::InstanceChannel::Request& request) {
                delegate.secondStart({request.activationToken, request.startupId});
            });
    });
    return app.exec();
}

} // namespace Dialcove
