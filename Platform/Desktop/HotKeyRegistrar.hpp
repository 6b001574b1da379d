#pragma once

#include "DialcoveCore/ShortcutModifiers.hpp"
#include "DialcoveCore/ShortcutRegistration.hpp"
#include "Platform/Desktop/KeyTranslation.hpp"

#include <QObject>
#include <cstdint>

namespace Platform {

// The windowing system's side of the one system-wide hot key: puts a combination in force and
// reports its presses. A backend implements it; the app's GlobalShortcut is built over one.
class HotKeyRegistrar : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

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
};

} // namespace Platform
