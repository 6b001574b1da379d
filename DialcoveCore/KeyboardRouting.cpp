#include "DialcoveCore/KeyboardRouting.hpp"

#include <iterator>

namespace DialcoveCore {

namespace {

using Direction = MoveDirection;

struct Route {
    PanelKey key;
    KeyDecision inList;
    KeyDecision withContactOpen;
};

// In PanelKey order.
constexpr Route routes[] = {
    {PanelKey::up, KeyDecision::moveContact(Direction::previous),
     KeyDecision::moveField(Direction::previous)},
    {PanelKey::down, KeyDecision::moveContact(Direction::next), KeyDecision::moveField(Direction::next)},
    {PanelKey::left, KeyDecision::passThrough(), KeyDecision::moveAction(Direction::previous)},
    {PanelKey::right, KeyDecision::passThrough(), KeyDecision::moveAction(Direction::next)},
    {PanelKey::enter, KeyDecision::openContact(), KeyDecision::performSelectedAction()},
    {PanelKey::keypadEnter, KeyDecision::openContact(), KeyDecision::performSelectedAction()},
    // Escape steps back one level: from an open contact to the list, never straight to closing.
    {PanelKey::escape, KeyDecision::close(), KeyDecision::backToList()},
    // With a contact open the copy chord is left to the text field, which may hold a selection.
    {PanelKey::copy, KeyDecision::copyFirstPhone(), KeyDecision::passThrough()},
    {PanelKey::commandEnter, KeyDecision::passThrough(), KeyDecision::openWhatsApp()},
};

constexpr bool inKeyOrder() {
    for (std::size_t i = 0; i < std::size(routes); ++i)
        if (static_cast<std::size_t>(routes[i].key) != i)
            return false;
    return std::size(routes) == static_cast<std::size_t>(PanelKey::commandEnter) + 1;
}
static_assert(inKeyOrder(), "one route per panel key, in key order");

} // namespace

KeyDecision KeyboardRouting::decide(PanelKey key, bool contactOpen, bool composingText, bool extraModifiers) {
    if (composingText || extraModifiers)
        return KeyDecision::passThrough();
    const Route& route = routes[static_cast<std::size_t>(key)];
    return contactOpen ? route.withContactOpen : route.inList;
}

} // namespace DialcoveCore
