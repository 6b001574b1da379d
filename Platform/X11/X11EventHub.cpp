#include "Platform/X11/X11EventHub.hpp"

#include "Platform/X11/X11FocusHandoff.hpp"
#include "Platform/X11/X11HotKeyRegistrar.hpp"
#include "Platform/X11/X11Logging.hpp"
#include "Platform/X11/X11OutsideClickMonitor.hpp"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QLoggingCategory>
#include <QRectF>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace Platform {

namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

// XKB event kinds, carried in the second byte of every XKB event.
constexpr quint8 xkbNewKeyboardNotify = 0;
constexpr quint8 xkbMapNotify = 1;

// The screen that DISPLAY names: Qt connects to it, so its root is ours.
int defaultScreenNumber(xcb_connection_t* connection) {
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    const int roots = xcb_setup_roots_length(xcb_get_setup(connection));
    return screen >= 0 && screen < roots ? screen : 0;
}

xcb_window_t rootOfScreen(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < number && it.rem > 0; ++i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// XI2 masks are arrays of 32-bit words after a small header; every mask the layer writes fits in four.
struct DeviceEventMask {
    xcb_input_event_mask_t header;
    uint32_t words[4];
};

} // namespace

X11EventHub::X11EventHub(QObject* parent) : QObject(parent) {
    auto* application = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (application == nullptr || application->connection() == nullptr) {
        qCInfo(lcX11) << "no x11 connection; global hot key and outside clicks are unavailable";
        return;
    }
    connection_ = application->connection();
    // XWayland lets an X client see keys and clicks only while one of its own windows has focus.
    underWayland_ = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (underWayland_)
        qCInfo(lcX11) << "x11 under a wayland session: the panel is a window the desktop manages";
    screen_ = defaultScreenNumber(connection_);
    root_ = rootOfScreen(connection_, screen_);

    if (const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection_, &xcb_input_id);
        xinput != nullptr && xinput->present)
        xinputOpcode_ = xinput->major_opcode;
    const char xkbName[] = "XKEYBOARD";
    if (auto xkb = owned(xcb_query_extension_reply(
            connection_, xcb_query_extension(connection_, sizeof xkbName - 1, xkbName), nullptr));
        xkb && xkb->present)
        xkbFirstEvent_ = xkb->first_event;

    qGuiApp->installNativeEventFilter(this);
}

X11EventHub::~X11EventHub() {
    if (connection_ == nullptr)
        return;
    if (rawWanted_ > 0)
        selectRawButtonPresses(false);
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    xcb_flush(connection_);
}

quint32 X11EventHub::atom(const char* name) const {
    if (connection_ == nullptr)
        return XCB_ATOM_NONE;
    if (auto found = atoms_.find(name); found != atoms_.end())
        return found->second;
    auto reply = owned(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    const quint32 value = reply ? reply->atom : quint32(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE)
        atoms_.emplace(name, value);
    return value;
}

void X11EventHub::selectRootEvents(quint32 mask) {
    if (connection_ == nullptr)
        return;
    auto attributes = owned(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, root_), nullptr));
    const quint32 current = attributes ? attributes->your_event_mask : 0;
    if ((current & mask) == mask)
        return;
    const quint32 values[] = {current | mask};
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, values);
    xcb_flush(connection_);
}

void X11EventHub::wantRawButtonPresses(bool want) {
    if (connection_ == nullptr || xinputOpcode_ == 0)
        return;
    const int before = rawWanted_;
    rawWanted_ = std::max(0, rawWanted_ + (want ? 1 : -1));
    if ((before == 0) != (rawWanted_ == 0))
        selectRawButtonPresses(rawWanted_ > 0);
}

void X11EventHub::selectRawButtonPresses(bool on) {
    // Selecting replaces this client's mask for the device, so keep whatever else is selected there.
    DeviceEventMask mask{};
    mask.header.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.header.mask_len = 1;
    if (auto selected = owned(xcb_input_xi_get_selected_events_reply(
            connection_, xcb_input_xi_get_selected_events(connection_, root_), nullptr))) {
        for (auto it = xcb_input_xi_get_selected_events_masks_iterator(selected.get()); it.rem > 0;
             xcb_input_event_mask_next(&it)) {
            if (it.data->deviceid != XCB_INPUT_DEVICE_ALL_MASTER)
                continue;
            const uint16_t length = std::min<uint16_t>(it.data->mask_len, 4);
            std::memcpy(mask.words, xcb_input_event_mask_mask(it.data), length * sizeof(uint32_t));
            mask.header.mask_len = std::max<uint16_t>(length, 1);
        }
    }
    if (on)
        mask.words[0] |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
    else
        mask.words[0] &= ~uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS);
    xcb_input_xi_select_events(connection_, root_, 1, &mask.header);
    xcb_flush(connection_);
}

bool X11EventHub::compositorRunning() const {
    return selectionOwned("_NET_WM_CM_S");
}

bool X11EventHub::systemTrayRunning() const {
    return selectionOwned("_NET_SYSTEM_TRAY_S");
}

bool X11EventHub::selectionOwned(const char* prefix) const {
    if (connection_ == nullptr)
        return false;
    const QByteArray name = prefix + QByteArray::number(screen_);
    const quint32 selection = atom(name.constData());
    auto owner = owned(
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

WindowSystem::PanelMode X11EventHub::panelMode() const {
    return underWayland_ ? PanelMode::managed : PanelMode::overlay;
}

QByteArray X11EventHub::startupRemoval(const QByteArray& id) {
    QByteArray quoted;
    for (const char c : id) {
        if (c == '"' || c == '\\' || c == ' ')
            quoted += '\\';
        quoted += c;
    }
    return "remove: ID=\"" + quoted + '"';
}

void X11EventHub::activateWith(QWindow& window, const Activation& activation) {
    // An X window takes the X form of the token; desktops that issue both accept either.
    const QByteArray id = activation.startupId.isEmpty() ? activation.token : activation.startupId;
    if (connection_ == nullptr || id.isEmpty())
        return;
    const auto own = static_cast<xcb_window_t>(window.winId());
    // Read by the window manager when the window maps: the start it answers, and so its right to the
    // focus.
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, own, atom("_NET_STARTUP_ID"), atom("UTF8_STRING"), 8,
                        quint32(id.size()), id.constData());
    // The start is over once the window shows: the launcher stops its busy pointer. The message goes
    // out in pieces of 20 bytes, the last with its terminating zero.
    const QByteArray message = startupRemoval(id) + '\0';
    const QPointer<QWindow> target(&window);
    QTimer::singleShot(std::chrono::milliseconds(500), this, [this, target, message] {
        if (connection_ == nullptr || !target)
            return;
        const auto sender = static_cast<xcb_window_t>(target->winId());
        for (qsizetype offset = 0; offset < message.size(); offset += 20) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 8;
            event.window = sender;
            event.type = atom(offset == 0 ? "_NET_STARTUP_INFO_BEGIN" : "_NET_STARTUP_INFO");
            std::memcpy(event.data.data8, message.constData() + offset,
                        std::size_t(std::min<qsizetype>(20, message.size() - offset)));
            xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_PROPERTY_CHANGE,
                           reinterpret_cast<const char*>(&event));
        }
        xcb_flush(connection_);
    });
    xcb_flush(connection_);
}

QRect X11EventHub::frameOnScreen(const QWindow& window) const {
    if (connection_ == nullptr || window.handle() == nullptr)
        return {};
    const auto id = static_cast<xcb_window_t>(window.winId());
    auto origin = owned(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, id, root_, 0, 0), nullptr));
    auto geometry = owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, id), nullptr));
    if (!origin || !geometry || !origin->same_screen)
        return {};
    // The server counts device pixels; the app's geometry is in Qt's device-independent ones.
    const qreal ratio = window.devicePixelRatio() > 0 ? window.devicePixelRatio() : 1.0;
    return QRectF(origin->dst_x / ratio, origin->dst_y / ratio, geometry->width / ratio,
                  geometry->height / ratio)
        .toRect();
}

std::vector<quint32> X11EventHub::ownWindows() const {
    std::vector<quint32> windows;
    if (connection_ == nullptr)
        return windows;
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->isVisible() && window->handle() != nullptr)
            windows.push_back(static_cast<quint32>(window->winId()));
    return windows;
}

std::vector<quint32> X11EventHub::windowsUnderPointer() const {
    std::vector<quint32> path;
    if (connection_ == nullptr)
        return path;
    xcb_window_t window = root_;
    // Nested deeper than this is not a desktop window tree.
    for (int depth = 0; depth < 16; ++depth) {
        auto pointer =
            owned(xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, window), nullptr));
        if (!pointer || !pointer->same_screen || pointer->child == XCB_WINDOW_NONE)
            break;
        window = pointer->child;
        path.push_back(window);
    }
    return path;
}

bool X11EventHub::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    switch (type) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        // Qt has no window on the root, so a key event there is one of our grabs and no one else's.
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (key->event != root_)
            return false;
        if (type == XCB_KEY_PRESS)
            emit keyPressed(key->detail, key->state, key->time);
        else
            emit keyReleased(key->detail, key->state, key->time);
        return true;
    }
    case XCB_MAPPING_NOTIFY:
        if (reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER)
            emit keymapChanged();
        return false;
    case XCB_PROPERTY_NOTIFY: {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (property->window == root_)
            emit rootPropertyChanged(property->atom);
        return false;
    }
    case XCB_GE_GENERIC: {
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        if (xinputOpcode_ == 0 || generic->extension != xinputOpcode_ ||
            generic->event_type != XCB_INPUT_RAW_BUTTON_PRESS)
            return false;
        emit rawButtonPressed(reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event)->detail);
        return true;
    }
    default:
        if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
            const quint8 xkbType = reinterpret_cast<const quint8*>(event)[1];
            if (xkbType == xkbNewKeyboardNotify || xkbType == xkbMapNotify)
                emit keymapChanged();
        }
        return false;
    }
}

std::unique_ptr<FocusHandoff> X11EventHub::makeFocusHandoff() {
    return std::make_unique<X11FocusHandoff>(*this);
}

std::unique_ptr<OutsideClickMonitor> X11EventHub::makeOutsideClickMonitor(QObject* parent) {
    return std::make_unique<X11OutsideClickMonitor>(*this, parent);
}

std::unique_ptr<HotKeyRegistrar> X11EventHub::makeHotKeyRegistrar(QObject* parent) {
    return std::make_unique<X11HotKeyRegistrar>(*this, parent);
}

} // namespace Platform
