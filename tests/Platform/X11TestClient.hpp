#pragma once

#include <QByteArray>
#include <QRect>
#include <cstdint>
#include <map>
#include <vector>
#include <xcb/xcb.h>

// A second X client beside the application under test: it holds key grabs, owns windows that
// should receive clicks, and changes server state the way another program would.
class X11TestClient {
public:
    X11TestClient();
    ~X11TestClient();
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return root_; }

    // The key that types `keysym` unshifted.
    xcb_keycode_t keycodeOf(uint32_t keysym) const;
    std::vector<uint32_t> keysymsOf(xcb_keycode_t keycode) const;
    // Gives two neighbouring keys each other's symbols in one change, as a layout switch would.
    void swapKeysyms(xcb_keycode_t a, xcb_keycode_t b);
    // Replaces the symbols of one key, as xmodmap would. The client puts back the original symbols of
    // every key it changed when it goes.
    void setKeysyms(xcb_keycode_t keycode, const std::vector<uint32_t>& keysyms);

    // True when the server grants the grab; a checked request, so the answer is final.
    bool grabKey(xcb_keycode_t keycode, uint16_t modifiers);
    void ungrabKeys();

    // A mapped window that records the buttons pressed in it; returns once it is viewable.
    xcb_window_t createWindow(const QRect& frame);
    // Takes `window` (another client's, say) into `parent` at `at`, as an XEmbed tray takes an icon.
    void reparent(xcb_window_t window, xcb_window_t parent, QPoint at);
    void move(xcb_window_t window, QPoint to);
    // Buttons pressed in `window` so far (reads what has arrived).
    std::vector<uint8_t> buttonsPressedIn(xcb_window_t window);

    void focus(xcb_window_t window);
    xcb_window_t focusedWindow() const;

    // Caps Lock and Num Lock as the server has them now (Lock and Mod2 bits).
    uint16_t lockState() const;

    // Makes the server report a running compositor, as one owning _NET_WM_CM_S0 does.
    void claimCompositorSelection();
    // Owns selection `name` with a window of its own, as a tray owns _NET_SYSTEM_TRAY_S0; the
    // selection goes with the window.
    xcb_window_t claimSelection(const char* name);
    void destroyWindow(xcb_window_t window);
    void setRootWindowProperty(const char* name, xcb_window_t value);
    // The bytes of `window`'s property `name`, of any type; empty when it has none.
    QByteArray textProperty(xcb_window_t window, const char* name) const;
    xcb_atom_t atom(const char* name) const;

private:
    // Returns once the server has handled every request sent so far, so what it sends the
    // application because of them comes before anything the application asks for next.
    void sync();
    void readEvents();
    void rememberKeysyms(xcb_keycode_t keycode);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    std::vector<std::pair<xcb_keycode_t, uint16_t>> grabs_;
    std::vector<xcb_window_t> windows_;
    std::map<xcb_window_t, std::vector<uint8_t>> presses_;
    std::map<xcb_keycode_t, std::vector<uint32_t>> originalKeysyms_;
};
