#include "X11TestClient.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <xcb/xcb_keysyms.h>

namespace {

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply) {
    return {reply, &std::free};
}

} // namespace

X11TestClient::X11TestClient() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_))
        throw std::runtime_error("no X display for the test client");
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

X11TestClient::~X11TestClient() {
    for (const auto& [keycode, keysyms] : originalKeysyms_)
        xcb_change_keyboard_mapping(connection_, 1, keycode, static_cast<uint8_t>(keysyms.size()),
                                    keysyms.data());
    // Closing drops what was not sent.
    sync();
    xcb_disconnect(connection_);
}

void X11TestClient::sync() {
    // Every request before a reply has been handled once the reply is here.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void X11TestClient::rememberKeysyms(xcb_keycode_t keycode) {
    if (!originalKeysyms_.contains(keycode))
        originalKeysyms_[keycode] = keysymsOf(keycode);
}

xcb_keycode_t X11TestClient::keycodeOf(uint32_t keysym) const {
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    xcb_keycode_t found = 0;
    for (unsigned keycode = setup->min_keycode; keycode <= setup->max_keycode && found == 0; ++keycode)
        if (xcb_key_symbols_get_keysym(symbols, static_cast<xcb_keycode_t>(keycode), 0) == keysym)
            found = static_cast<xcb_keycode_t>(keycode);
    xcb_key_symbols_free(symbols);
    return found;
}

std::vector<uint32_t> X11TestClient::keysymsOf(xcb_keycode_t keycode) const {
    auto reply = owned(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, keycode, 1), nullptr));
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    return std::vector<uint32_t>(keysyms, keysyms + reply->keysyms_per_keycode);
}

void X11TestClient::swapKeysyms(xcb_keycode_t a, xcb_keycode_t b) {
    const xcb_keycode_t first = std::min(a, b);
    if (std::max(a, b) != first + 1)
        throw std::runtime_error("keys to swap are not neighbours");
    rememberKeysyms(first);
    rememberKeysyms(static_cast<xcb_keycode_t>(first + 1));
    std::vector<uint32_t> firstSymbols = keysymsOf(first);
    std::vector<uint32_t> secondSymbols = keysymsOf(static_cast<xcb_keycode_t>(first + 1));
    std::vector<uint32_t> both = secondSymbols;
    both.insert(both.end(), firstSymbols.begin(), firstSymbols.end());
    xcb_change_keyboard_mapping(connection_, 2, first, static_cast<uint8_t>(firstSymbols.size()),
                                both.data());
    sync();
}

void X11TestClient::setKeysyms(xcb_keycode_t keycode, const std::vector<uint32_t>& keysyms) {
    rememberKeysyms(keycode);
    xcb_change_keyboard_mapping(connection_, 1, keycode, static_cast<uint8_t>(keysyms.size()),
                                keysyms.data());
    sync();
}

bool X11TestClient::grabKey(xcb_keycode_t keycode, uint16_t modifiers) {
    xcb_generic_error_t* error =
        xcb_request_check(connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::free(error);
    if (error == nullptr)
        grabs_.emplace_back(keycode, modifiers);
    return error == nullptr;
}

void X11TestClient::ungrabKeys() {
    for (const auto& [keycode, modifiers] : grabs_)
        xcb_ungrab_key(connection_, keycode, root_, modifiers);
    grabs_.clear();
    sync();
}

xcb_window_t X11TestClient::createWindow(const QRect& frame) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t window = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, static_cast<int16_t>(frame.x()),
                      static_cast<int16_t>(frame.y()), static_cast<uint16_t>(frame.width()),
                      static_cast<uint16_t>(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(connection_, window);
    sync();
    windows_.push_back(window);
    // No window manager stands between: the window is viewable once the server has handled the map.
    auto attributes = owned(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        throw std::runtime_error("test window did not map");
    return window;
}

void X11TestClient::reparent(xcb_window_t window, xcb_window_t parent, QPoint at) {
    xcb_reparent_window(connection_, window, parent, static_cast<int16_t>(at.x()),
                        static_cast<int16_t>(at.y()));
    sync();
}

void X11TestClient::move(xcb_window_t window, QPoint to) {
    const uint32_t values[] = {static_cast<uint32_t>(to.x()), static_cast<uint32_t>(to.y())};
    xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    sync();
}

void X11TestClient::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS) {
            const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event);
            presses_[press->event].push_back(press->detail);
        }
        std::free(event);
    }
}

std::vector<uint8_t> X11TestClient::buttonsPressedIn(xcb_window_t window) {
    readEvents();
    return presses_[window];
}

void X11TestClient::focus(xcb_window_t window) {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    sync();
}

xcb_window_t X11TestClient::focusedWindow() const {
    auto reply = owned(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return reply ? reply->focus : xcb_window_t(XCB_NONE);
}

uint16_t X11TestClient::lockState() const {
    auto reply = owned(xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr));
    return reply ? reply->mask & (XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2) : 0;
}

QByteArray X11TestClient::textProperty(xcb_window_t window, const char* name) const {
    auto reply = owned(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

xcb_atom_t X11TestClient::atom(const char* name) const {
    auto reply = owned(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void X11TestClient::claimCompositorSelection() {
    claimSelection("_NET_WM_CM_S0");
}

xcb_window_t X11TestClient::claimSelection(const char* name) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t owner = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, owner, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    xcb_set_selection_owner(connection_, owner, atom(name), XCB_CURRENT_TIME);
    auto reply = owned(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, atom(name)), nullptr));
    if (!reply || reply->owner != owner)
        throw std::runtime_error("selection not taken");
    return owner;
}

void X11TestClient::destroyWindow(xcb_window_t window) {
    xcb_destroy_window(connection_, window);
    sync();
}

void X11TestClient::setRootWindowProperty(const char* name, xcb_window_t value) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, root_, atom(name), XCB_ATOM_WINDOW, 32, 1,
                        &value);
    sync();
}
