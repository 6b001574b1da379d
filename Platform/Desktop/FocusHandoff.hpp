#pragma once

#include <QtGlobal>

namespace Platform {

// Lends the input focus to one of our windows and gives it back afterwards, so closing the panel
// returns the keyboard to the window the user was typing in. A backend implements it.
class FocusHandoff {
public:
    virtual ~FocusHandoff() = default;

    // Remembers the window that has the input focus now, unless it is `own` (then the window
    // remembered first stays).
    virtual void remember(quint32 own) = 0;
    // Gives the focus back to the remembered window while it is still ours to give; when someone
    // else has taken it since, it stays there. Forgets the window either way.
    virtual void giveBack(quint32 own) = 0;
    virtual bool isHolding() const = 0;
};

} // namespace Platform
