#pragma once

#include "Platform/Desktop/FocusHandoff.hpp"

#include <QtGlobal>
#include <optional>

namespace Platform {

class X11EventHub;

// Lends the X input focus to one of our windows and gives it back afterwards, so closing the panel
// returns the keyboard to the window the user was typing in.
class X11FocusHandoff final : public FocusHandoff {
public:
    explicit X11FocusHandoff(X11EventHub& hub) : hub_(hub) {}

    // Remembers the window that has the input focus now, unless it is `own` (then the window
    // remembered first stays).
    void remember(quint32 own) override;
    // Gives the focus back to the remembered window while it is still ours to give: on `own`, or
    // dropped to the root or to nothing because `own` closed. When someone else has taken it since,
    // it stays there. Forgets the window either way.
    void giveBack(quint32 own) override;
    bool isHolding() const override { return remembered_.has_value(); }

    // The window that has the input focus now; 0 for none, 1 for "the window under the pointer".
    quint32 currentFocus() const;

private:
    struct Focus {
        quint32 window;
        quint8 revertTo;
    };

    X11EventHub& hub_;
    std::optional<Focus> remembered_;
};

} // namespace Platform
