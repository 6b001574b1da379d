#pragma once

#include <QProcess>
#include <QTest>
#include <xcb/xcb.h>

namespace TestSupport {

// Openbox on the test's display, stopped when this goes: windows get frames, and the focus moves
// as a window manager moves it (a closed window's focus goes to a window of the manager's own).
class WindowManager {
public:
    WindowManager() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Its configuration and theme as the package installs them, whatever the test's own folders.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), QStringLiteral("/etc/xdg"));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        running_ = process_.waitForStarted(5000) && QTest::qWaitFor([this] { return managing(); }, 10000);
    }

    ~WindowManager() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }

    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // The manager has said it manages the screen (`_NET_SUPPORTING_WM_CHECK` on the root) and still
    // runs.
    bool isRunning() const { return running_ && process_.state() == QProcess::Running; }

private:
    bool managing() const {
        if (process_.state() != QProcess::Running)
            return false;
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        bool found = false;
        if (!xcb_connection_has_error(connection)) {
            const char name[] = "_NET_SUPPORTING_WM_CHECK";
            xcb_intern_atom_reply_t* atom =
                xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
            const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
            if (atom != nullptr && atom->atom != XCB_ATOM_NONE) {
                xcb_get_property_reply_t* property = xcb_get_property_reply(
                    connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
                    nullptr);
                found = property != nullptr && xcb_get_property_value_length(property) == 4;
                free(property);
            }
            free(atom);
        }
        xcb_disconnect(connection);
        return found;
    }

    QProcess process_;
    bool running_ = false;
};

} // namespace TestSupport
