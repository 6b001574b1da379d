#include "Dialcove/Shell/ShortcutLifecycle.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/WeakHook.hpp"
#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/PanelKeyboard.hpp"
#include "Dialcove/Shell/ShortcutRegistrar.hpp"

namespace Dialcove {

using DialcoveCore::ShortcutRegistration;

ShortcutLifecycle::ShortcutLifecycle(PanelKeyboard& keyboard, ContactSettings& settings,
                                     ShortcutRegistrar& registrar, QObject* parent)
    : QObject(parent), keyboard_(keyboard), settings_(settings), registrar_(registrar) {
    keyboard_.setOnRecordingChange(weakHook(this, &ShortcutLifecycle::apply));
    registrar_.setOnRegistrationChange(weakHook(this, &ShortcutLifecycle::registrationChanged));
}

void ShortcutLifecycle::apply() {
    assertMainThread();
    if (keyboard_.recordingShortcut()) {
        registrar_.unregisterShortcut();
        return;
    }
    const DialcoveCore::ContactPreferences& values = settings_.values();
    const ShortcutRegistration registration =
        registrar_.registerShortcut(values.shortcut.keyCode(), values.shortcut.modifiers(), values.enabled);
    keyboard_.setShortcutConflict(registration == ShortcutRegistration::conflict);
}

void ShortcutLifecycle::registrationChanged(ShortcutRegistration registration) {
    assertMainThread();
    // Nothing is registered while recording; the flag then keeps what the last apply found.
    if (keyboard_.recordingShortcut())
        return;
    keyboard_.setShortcutConflict(registration == ShortcutRegistration::conflict);
}

} // namespace Dialcove
