#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"
#include "DialcoveCore/ShortcutRegistration.hpp"
#include "Platform/Desktop/KeyTranslation.hpp"

#include <QObject>
#include <QString>
#include <cstdint>

namespace Platform {

// The windowing system's side of the one system-wide hot key: puts a combination in force and
// reports its presses. A backend implements it; the app's GlobalShortcut is built over one.
class HotKeyRegistrar : public QObject {
    Q_OBJECT

public:
    // Who holds the key: this program itself, the desktop's global-shortcuts portal on the program's
    // behalf, or nobody (the desktop has no way for the program to hold one; its own keyboard
    // settings can run the program instead).
    enum class Holder { program, portal, nobody };

    using QObject::QObject;

    virtual Holder holder() const { return Holder::program; }
    // How the portal says the shortcut is triggered ("Ctrl+Alt+K"); empty while it has none, and
    // for a key the program holds itself.
    virtual QString trigger() const { return {}; }

    // Drops the current registration, then registers `keyCode` (a virtual key code) with
    // `modifiers` unless `enabled` is false. Conflict: another program holds the combination, no
    // key types the key code, or there is no display.
    virtual DialcoveCore::ShortcutRegistration
    registerShortcut(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers, bool enabled) = 0;
    virtual void unregisterShortcut() = 0;
    virtual bool isRegistered() const = 0;
    // The layout the registration follows, for reading recorded key presses the same way.
    virtual const KeyTranslation& translation() const = 0;

signals:
    // Once per press of the registered combination, on the main thread.
    void pressed();
    // After a layout change moved the registration: registered again, or lost to a conflict.
    void registrationChanged(DialcoveCore::ShortcutRegistration registration);
    // holder() or trigger() changed.
    void holderChanged();
};

} // namespace Platform
