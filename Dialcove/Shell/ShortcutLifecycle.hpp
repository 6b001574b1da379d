#pragma once

#include "DialcoveCore/ShortcutRegistration.hpp"

#include <QObject>

namespace Dialcove {

class ContactSettings;
class PanelKeyboard;
class ShortcutRegistrar;

// Keeps the global hot key (the ShortcutRegistrar; in the app, the GlobalShortcut) in step with the
// settings and with shortcut recording, and the keyboard's shortcutConflict with the outcome. Main thread
// only; the three objects must outlive it.
//
// While a shortcut is being recorded the hot key is released, so pressing the current combination
// records it instead of toggling the panel; when recording ends it is registered again. A conflict
// is tried again at the next apply (a settings change, the end of a recording), or by the registrar
// when the keymap changes, and never by polling.
class ShortcutLifecycle final : public QObject {
    Q_OBJECT

public:
    // Takes over the keyboard's recording callback and the registrar's registration-change callback.
    ShortcutLifecycle(PanelKeyboard& keyboard, ContactSettings& settings, ShortcutRegistrar& registrar,
                      QObject* parent = nullptr);

    PanelKeyboard& keyboard() const { return keyboard_; }
    ContactSettings& settings() const { return settings_; }
    ShortcutRegistrar& registrar() const { return registrar_; }

    // Recording: releases the hot key and leaves shortcutConflict as it was. Otherwise registers the
    // settings' shortcut (nothing when disabled) and sets shortcutConflict to whether it failed.
    void apply();

private:
    void registrationChanged(DialcoveCore::ShortcutRegistration registration);

    PanelKeyboard& keyboard_;
    ContactSettings& settings_;
    ShortcutRegistrar& registrar_;
};

} // namespace Dialcove
