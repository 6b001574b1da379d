#pragma once

#include "Platform/Desktop/ShortcutKeyPress.hpp"

#include <QObject>
#include <cstdint>
#include <optional>

class QKeyEvent;

namespace Platform {

// Reads key events in the model's terms, by the keyboard layout the windowing system has now; the
// hot key and the panel's key router read keys through it alike. A backend implements it.
class KeyTranslation : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The model's virtual key code of a key event (see DialcoveCore/KnownKey.hpp); none for a key
    // the model does not know.
    virtual std::optional<std::uint32_t> virtualKey(const QKeyEvent& event) const = 0;
    // A key press as the shortcut recorder needs it.
    virtual ShortcutKeyPress shortcutKeyPress(const QKeyEvent& event) const = 0;

signals:
    // The keyboard layout changed and was read again.
    void reloaded();
};

} // namespace Platform
