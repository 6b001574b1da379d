#pragma once

#include "Dialcove/Shell/ShortcutRegistrar.hpp"
#include "Platform/Desktop/HotKeyRegistrar.hpp"

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace Platform {
class WindowSystem;
} // namespace Platform

namespace Dialcove {

// The system-wide hot key "DLCV"/1: the app's ShortcutRegistrar, over the windowing system's
// registrar (a passive key grab on the root window under X). Main thread only.
//
// The handler is the connection from the grab's presses to `pressed`: until it is installed, and
// after it is removed, presses reach no one. A keymap change can move the grab to a key that another
// program holds; that loss is reported through the registration-change callback. While a wanted
// registration is not in force (lost so, or refused), each keymap change tries it again, and a
// success is reported the same way.
//
// Unlike a registration on other systems, the grab does not outlive this object: destroying it
// releases the grab, since a grab left behind would make the combination dead on the whole desktop.
class GlobalShortcut final : public QObject, public ShortcutRegistrar {
    Q_OBJECT

public:
    // `windows` makes the registrar; it must outlive the hot key.
    explicit GlobalShortcut(Platform::WindowSystem& windows, QObject* parent = nullptr);
    // Over a registrar of its own choosing (the desktop portal's in a Wayland session).
    explicit GlobalShortcut(std::unique_ptr<Platform::HotKeyRegistrar> registrar, QObject* parent = nullptr);
    ~GlobalShortcut() override;

    DialcoveCore::ShortcutRegistration
    registerShortcut(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers, bool enabled) override;
    void unregisterShortcut() override;
    void setOnRegistrationChange(RegistrationChange callback) override;

    // Whether a hot key is in force now.
    bool hasRegistration() const { return registrar_->isRegistered(); }
    // Who holds the key, and the trigger the desktop reports for it; holderChanged() follows both.
    Platform::HotKeyRegistrar::Holder holder() const { return registrar_->holder(); }
    QString trigger() const { return registrar_->trigger(); }

    // Connects the presses to `pressed`; once only, later calls change nothing.
    void installHandler();
    void removeHandler();
    bool hasHandler() const { return static_cast<bool>(handler_); }

    // Runs for every press while the handler is installed; does nothing until set.
    void setPressed(std::function<void()> callback);

    // The keymap the grab follows, for reading recorded key presses the same way.
    const Platform::KeyTranslation& keyTranslation() const { return registrar_->translation(); }

signals:
    void holderChanged();

private:
    struct Combination {
        std::uint32_t keyCode;
        DialcoveCore::ShortcutModifiers modifiers;
    };

    void handlePress();
    void keymapReloaded();
    void notifyRegistrationChange(DialcoveCore::ShortcutRegistration registration);

    std::unique_ptr<Platform::HotKeyRegistrar> registrar_;
    QMetaObject::Connection handler_;
    std::function<void()> pressed_ = [] {};
    RegistrationChange onRegistrationChange_ = [](DialcoveCore::ShortcutRegistration) {};
    // The combination last asked for, present from an enabled registration until the next call.
    std::optional<Combination> wanted_;
};

} // namespace Dialcove
