#include "Dialcove/Shell/GlobalShortcut.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "Platform/Desktop/WindowSystem.hpp"

#include <QLoggingCategory>

namespace Dialcove {

namespace {

using DialcoveCore::ShortcutModifiers;
using DialcoveCore::ShortcutRegistration;

} // namespace

GlobalShortcut::GlobalShortcut(Platform::WindowSystem& windows, QObject* parent)
    : GlobalShortcut(windows.makeHotKeyRegistrar(), parent) {}

GlobalShortcut::GlobalShortcut(std::unique_ptr<Platform::HotKeyRegistrar> registrar, QObject* parent)
    : QObject(parent), registrar_(std::move(registrar)) {
    connect(registrar_.get(), &Platform::HotKeyRegistrar::holderChanged, this, &GlobalShortcut::holderChanged);
    connect(registrar_.get(), &Platform::HotKeyRegistrar::registrationChanged, this,
            &GlobalShortcut::notifyRegistrationChange);
    // Connected after the registrar's own handler, so it sees the keymap after the registrar moved
    // (or lost) its grab.
    connect(&registrar_->translation(), &Platform::KeyTranslation::reloaded, this,
            &GlobalShortcut::keymapReloaded);
}

GlobalShortcut::~GlobalShortcut() = default;

ShortcutRegistration GlobalShortcut::registerShortcut(std::uint32_t keyCode, ShortcutModifiers modifiers,
                                                      bool enabled) {
    assertMainThread();
    wanted_ = enabled ? std::optional(Combination{keyCode, modifiers}) : std::nullopt;
    return registrar_->registerShortcut(keyCode, modifiers, enabled);
}

void GlobalShortcut::unregisterShortcut() {
    assertMainThread();
    wanted_.reset();
    registrar_->unregisterShortcut();
}

void GlobalShortcut::setOnRegistrationChange(RegistrationChange callback) {
    onRegistrationChange_ = callback ? std::move(callback) : [](ShortcutRegistration) {};
}

void GlobalShortcut::installHandler() {
    assertMainThread();
    if (!handler_)
        handler_ = connect(registrar_.get(), &Platform::HotKeyRegistrar::pressed, this,
                           &GlobalShortcut::handlePress);
}

void GlobalShortcut::removeHandler() {
    assertMainThread();
    disconnect(handler_);
    handler_ = {};
}

void GlobalShortcut::setPressed(std::function<void()> callback) {
    pressed_ = callback ? std::move(callback) : [] {};
}

void GlobalShortcut::handlePress() {
    assertMainThread();
    // A copy: the callback may replace itself.
    const auto pressed = pressed_;
    pressed();
}

void GlobalShortcut::keymapReloaded() {
    if (!wanted_ || registrar_->isRegistered())
        return;
    // The keymap that took the key away may have given it back, or put it on a free key.
    if (registrar_->registerShortcut(wanted_->keyCode, wanted_->modifiers, true) ==
        ShortcutRegistration::registered) {
        qCInfo(lcHotKey) << "hot key registered again after a keymap change";
        notifyRegistrationChange(ShortcutRegistration::registered);
    }
}

void GlobalShortcut::notifyRegistrationChange(ShortcutRegistration registration) {
    const auto callback = onRegistrationChange_;
    callback(registration);
}

} // namespace Dialcove
