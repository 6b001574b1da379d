#include "Platform/X11/X11FocusHandoff.hpp"

#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11Logging.hpp"

#include <QLoggingCategory>
#include <cstdlib>
#include <xcb/xcb.h>

namespace Platform {

quint32 X11FocusHandoff::currentFocus() const {
    xcb_connection_t* connection = hub_.connection();
    if (connection == nullptr)
        return XCB_NONE;
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const quint32 focus = reply != nullptr ? reply->focus : XCB_NONE;
    std::free(reply);
    return focus;
}

void X11FocusHandoff::remember(quint32 own) {
    xcb_connection_t* connection = hub_.connection();
    if (connection == nullptr || remembered_)
        return;
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    if (reply != nullptr && reply->focus != own)
        remembered_ = Focus{reply->focus, reply->revert_to};
    std::free(reply);
}

void X11FocusHandoff::giveBack(quint32 own) {
    if (!remembered_)
        return;
    const Focus focus = *remembered_;
    remembered_.reset();
    xcb_connection_t* connection = hub_.connection();
    const quint32 current = currentFocus();
    const bool stillOurs = current == own || current == hub_.rootWindow() || current == XCB_NONE ||
                           current == XCB_INPUT_FOCUS_POINTER_ROOT;
    if (!stillOurs || current == focus.window)
        return;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_set_input_focus_checked(connection, focus.revertTo, focus.window, XCB_CURRENT_TIME));
    if (error != nullptr) {
        // The window closed or was hidden meanwhile; the window manager picks the next one.
        qCInfo(lcFocus) << "previous window is gone; focus not given back";
        std::free(error);
    }
}

} // namespace Platform
