#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"
#include "Platform/Desktop/KeyTranslation.hpp"
#include "Platform/Desktop/ShortcutKeyPress.hpp"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QKeyEvent;

namespace Platform {

class X11EventHub;

// Between the model's virtual key codes (DialcoveCore::knownKeys()) and the X keyboard.
//
// A virtual key code names a key by the key symbol it types unshifted on a US layout ("k", "1",
// F5, keypad 7). On this display it stands for the key that types that symbol at its first level
// (keypad keys: at either level, since Num Lock picks one); when the layout has no such key (a
// Cyrillic or Greek layout has no "k"), for the key at the same place on a US keyboard. Reading a
// key press goes the same way back, so a recorded shortcut grabs the key that was pressed.
//
// The keymap is read again whenever the display reports a change; reloaded() follows.
class X11KeyTranslation final : public KeyTranslation {
    Q_OBJECT

public:
    explicit X11KeyTranslation(X11EventHub& hub, QObject* parent = nullptr);
    ~X11KeyTranslation() override;

    // The X key code that stands for `virtualKey` now; none when no key does or there is no display.
    std::optional<quint8> keycodeFor(std::uint32_t virtualKey) const;
    // The virtual key code of X key `keycode`; none for a key the model does not know.
    std::optional<std::uint32_t> virtualKeyFor(quint8 keycode) const;
    // The modifier bit that Num Lock sets in key events; 0 when the modifier map has none.
    quint16 numLockMask() const { return numLockMask_; }

    // The virtual key code of a key event: from its X key code when it came from the display, else
    // (a synthesised event) from its Qt key.
    std::optional<std::uint32_t> virtualKey(const QKeyEvent& event) const override;
    // A key press as the shortcut recorder needs it. Function keys have no text in Qt; their fixed
    // labels come from the known-key table.
    ShortcutKeyPress shortcutKeyPress(const QKeyEvent& event) const override;

    // The key symbol a virtual key code stands for; none for an unknown code and for the Fn key.
    static std::optional<quint32> keysymFor(std::uint32_t virtualKey);
    // The name of that key symbol ("k", "F5", "KP_7"); empty when there is none.
    static QString keysymName(std::uint32_t virtualKey);
    // The virtual key code whose symbol is `keysym`, letters in either case; none when no key's is.
    static std::optional<std::uint32_t> virtualKeyForKeysym(quint32 keysym);
    // The key symbol of a Qt key; keypad digits and operators when `modifiers` has the keypad bit.
    static std::optional<quint32> keysymForQtKey(int key, Qt::KeyboardModifiers modifiers);
    // X modifier bits of a shortcut: control -> Control, option -> Mod1, shift -> Shift, command -> Mod4.
    static quint16 grabModifiers(DialcoveCore::ShortcutModifiers modifiers);
    // The shortcut modifiers a Qt key event holds, by the same correspondence (Meta is Super here).
    static DialcoveCore::ShortcutModifiers shortcutModifiers(Qt::KeyboardModifiers modifiers);

private:
    struct Keymap;
    struct Naming;

    void scheduleReload();
    void reload();
    std::optional<Naming> naming(quint8 keycode) const;

    X11EventHub& hub_;
    std::unique_ptr<Keymap> keymap_;
    quint16 numLockMask_ = 0;
    bool reloadPending_ = false;
};

} // namespace Platform
