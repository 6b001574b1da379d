#include "DesktopWindows.hpp"

#include <cstdlib>
#include <memory>

namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Owned<Reply> own(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

void collect(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, std::vector<DesktopWindow>& out) {
    const auto tree = own(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree)
        return;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
        const xcb_window_t child = children[i];
        const auto attributes =
            own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, child), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto geometry = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, child), nullptr));
        const auto origin =
            own(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, child, root, 0, 0), nullptr));
        const auto wmClass = own(xcb_get_property_reply(
            c, xcb_get_property(c, 0, child, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
        if (!geometry || !origin)
            continue;
        DesktopWindow found;
        found.id = child;
        found.parent = window;
        found.frame = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        found.overrideRedirect = attributes->override_redirect;
        if (wmClass && wmClass->value_len > 0) {
            found.wmClass = QByteArray(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                                       xcb_get_property_value_length(wmClass.get()));
            found.wmClass.replace('\0', ' ');
        }
        out.push_back(found);
        collect(c, root, child, out);
    }
}

} // namespace

std::vector<DesktopWindow> viewableWindows(xcb_connection_t* connection, xcb_window_t root) {
    std::vector<DesktopWindow> windows;
    collect(connection, root, root, windows);
    return windows;
}

std::optional<DesktopWindow> embeddedTrayIcon(xcb_connection_t* connection, xcb_window_t root) {
    for (const DesktopWindow& window : viewableWindows(connection, root))
        if (window.belongsTo("dialcove") && window.parent != root && window.frame.width() <= 64)
            return window;
    return std::nullopt;
}

std::optional<DesktopWindow> shownPanel(xcb_connection_t* connection, xcb_window_t root) {
    for (const DesktopWindow& window : viewableWindows(connection, root))
        if (window.belongsTo("dialcove") && window.parent == root && window.overrideRedirect &&
            window.frame.width() == 368)
            return window;
    return std::nullopt;
}
