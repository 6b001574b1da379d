#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"
#include "DialcoveCore/ShortcutRegistration.hpp"
#include "Platform/Desktop/HotKeyRegistrar.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"

#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

class X11EventHub;

// The one system-wide hot key, as a passive key grab on the root window.
//
// A combination is grabbed four times, bare and with Caps Lock, Num Lock or both, so the locks never
// stop it. A grab that another client holds already fails with BadAccess; then none of ours stays and
// the registration is a conflict. Holding the keys down fires once: auto-repeat is ignored. When the
// keymap changes, the combination is grabbed again on the key that now types it.
class X11HotKeyRegistrar final : public HotKeyRegistrar {
    Q_OBJECT

public:
    // "DLCV", first character in the most significant byte, and 1: the registration's identity.
    static constexpr std::uint32_t signature =
        std::uint32_t('D') << 24 | std::uint32_t('L') << 16 | std::uint32_t('C') << 8 | std::uint32_t('V');
    static constexpr std::uint32_t identifier = 1;

    explicit X11HotKeyRegistrar(X11EventHub& hub, QObject* parent = nullptr);
    // Releases the grab: a registrar that is gone leaves no key of the desktop dead.
    ~X11HotKeyRegistrar() override;

    // Drops the current registration, then grabs `keyCode` (a virtual key code) with `modifiers`
    // unless `enabled` is false; the combination already held stays held as it is. Conflict: another program
    // holds the combination, no key types the key code, or there is no X11 display.
    DialcoveCore::ShortcutRegistration
    registerShortcut(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers, bool enabled) override;
    void unregisterShortcut() override;
    bool isRegistered() const override { return !grabs_.empty(); }

    const X11KeyTranslation& translation() const override { return translation_; }

private:
    struct Combination {
        std::uint32_t keyCode;
        DialcoveCore::ShortcutModifiers modifiers;
        friend bool operator==(const Combination&, const Combination&) = default;
    };
    struct Grab {
        quint8 keycode;
        quint16 modifiers;
    };

    bool grab(const Combination& combination);
    void releaseGrabs();
    void regrab();
    void keyPressed(quint8 keycode, quint16 state, quint32 time);
    void keyReleased(quint8 keycode, quint16 state, quint32 time);

    X11EventHub& hub_;
    X11KeyTranslation translation_;
    std::optional<Combination> combination_; // present exactly while registered
    std::vector<Grab> grabs_;
    quint16 lockMask_ = 0; // Caps Lock and Num Lock, as the keymap had them at the grab
    bool held_ = false;
    quint32 lastRelease_ = 0;
};

} // namespace Platform
