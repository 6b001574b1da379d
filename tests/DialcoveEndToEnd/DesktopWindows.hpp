#pragma once

#include <QByteArray>
#include <QRect>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

// The viewable windows of the display as another client sees them: where they are on the screen,
// who owns them (WM_CLASS) and whether they are override-redirect.
struct DesktopWindow {
    xcb_window_t id = 0;
    xcb_window_t parent = 0;
    QRect frame; // root coordinates
    bool overrideRedirect = false;
    QByteArray wmClass; // instance and class, joined by a space

    bool belongsTo(const char* program) const {
        return wmClass.toLower().contains(QByteArray(program).toLower());
    }
};

std::vector<DesktopWindow> viewableWindows(xcb_connection_t* connection, xcb_window_t root);

// Dialcove's tray icon once a tray holds it: its window, not a top-level one.
std::optional<DesktopWindow> embeddedTrayIcon(xcb_connection_t* connection, xcb_window_t root);
// Dialcove's panel while it is on the screen.
std::optional<DesktopWindow> shownPanel(xcb_connection_t* connection, xcb_window_t root);
