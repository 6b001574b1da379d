#include "Dialcove/DialcoveApp.hpp"

#include "Dialcove/AppUpdateNotifier.hpp"
#include "Dialcove/AppWindowIcon.hpp"
#include "Dialcove/AppWindows.hpp"
#include "Dialcove/ApplicationIdentity.hpp"
#include "Dialcove/ContactsAppDelegate.hpp"
#include "Dialcove/LinuxStrings.hpp"
#include "Dialcove/SettingsCommand.hpp"
#include "MurvelUI/MurvelEnvironment.hpp"
#include "Platform/SingleInstanceLock.hpp"
#include "Platform/TerminationSignals.hpp"
#include "Platform/UrlOpener.hpp"

#include <QApplication>
#include <QTimer>
#include <cstdio>

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
            .showWelcome = [](ContactsPanel& panel,
                              std::function<void()> finish) { showWelcomeWindow(panel, std::move(finish)); },
            .closeWelcome = [] { closeWelcomeWindow(); }};
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
    // Nothing is built for a snapshot: no tray icon, no key grab, no network.
    if (argumentsAskForSnapshot(arguments)) {
        std::fputs("Dialcove: snapshot mode is not in this build\n", stderr);
        return 2;
    }

    // One copy per user and display; the second leaves before it touches the display.
    Platform::SingleInstanceLock lock(QStringLiteral("dialcove"), qEnvironmentVariable("DISPLAY"));
    if (!lock.tryLock()) {
        std::fputs("Dialcove is already running\n", stdout);
        return 0;
    }

    // The hot key and the panel window are built on Qt's xcb platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc_, argv_);
    configureApplication();

    ContactsAppDelegate delegate(appWindows());
    SettingsCommand settings([&delegate] { delegate.settingsCommand(); });
    Platform::TerminationSignals termination;
    QObject::connect(&termination, &Platform::TerminationSignals::received, &app,
                     [] { QApplication::quit(); });
    QObject::connect(&app, &QApplication::aboutToQuit, &delegate,
                     &ContactsAppDelegate::applicationWillTerminate);
    // Launching finishes once the event loop runs.
    QTimer::singleShot(0, &delegate,
                       [&delegate, arguments] { delegate.applicationDidFinishLaunching(arguments); });
    return app.exec();
}

} // namespace Dialcove
