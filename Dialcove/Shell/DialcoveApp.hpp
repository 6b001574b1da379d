#pragma once

#include <chrono>

namespace Dialcove {

// The application: one copy per user and display (a second start toggles the running copy's panel
// and leaves), no window of its own until the tray icon, the hot key or a second start asks for the
// panel, the Settings command on Control-comma, and a clean stop on Quit,
// SIGTERM or SIGINT. Everything real starts in the delegate once the event loop runs.
class DialcoveApp {
public:
    // How long a second start waits for the running copy to take its request.
    static constexpr std::chrono::milliseconds secondStartBound{3000};

    DialcoveApp(int& argc, char** argv);

    // Runs the application; the process's exit status.
    int run();

    // What the running application is set up with: its name and version, the Linux string table,
    // its window icon, staying alive with no window open, and every URL going to `xdg-open`.
    static void configureApplication();

private:
    int& argc_;
    char** argv_;
};

} // namespace Dialcove
