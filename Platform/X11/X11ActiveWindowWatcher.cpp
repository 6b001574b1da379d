#include "Platform/X11/X11ActiveWindowWatcher.hpp"

#include "Platform/X11/X11EventHub.hpp"

#include <cstdlib>
#include <xcb/xcb.h>

namespace Platform {

X11ActiveWindowWatcher::X11ActiveWindowWatcher(X11EventHub& hub, QObject* parent)
    : QObject(parent), hub_(hub) {
    if (!hub_.isAvailable())
        return;
    atom_ = hub_.atom("_NET_ACTIVE_WINDOW");
    hub_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    connect(&hub_, &X11EventHub::rootPropertyChanged, this, &X11ActiveWindowWatcher::rootPropertyChanged);
    active_ = read();
}

void X11ActiveWindowWatcher::rootPropertyChanged(quint32 atom) {
    if (atom != atom_)
        return;
    const quint32 active = read();
    if (active == active_)
        return;
    active_ = active;
    emit activeWindowChanged(active);
}

quint32 X11ActiveWindowWatcher::read() const {
    xcb_connection_t* connection = hub_.connection();
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, hub_.rootWindow(), atom_, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    quint32 window = 0;
    if (reply != nullptr && reply->type == XCB_ATOM_WINDOW && reply->format == 32 &&
        xcb_get_property_value_length(reply) >= 4)
        window = *static_cast<const quint32*>(xcb_get_property_value(reply));
    std::free(reply);
    return window;
}

} // namespace Platform
