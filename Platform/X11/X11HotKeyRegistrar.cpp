#include "Platform/X11/X11HotKeyRegistrar.hpp"

#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11Logging.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>
#include <cstdlib>
#include <xcb/xcb.h>

namespace Platform {

namespace {

using DialcoveCore::ShortcutRegistration;

constexpr quint16 modifierBits = 0xff; // key event states also carry buttons and the XKB group

} // namespace

X11HotKeyRegistrar::X11HotKeyRegistrar(X11EventHub& hub, QObject* parent)
    : HotKeyRegistrar(parent), hub_(hub), translation_(hub) {
    connect(&hub_, &X11EventHub::keyPressed, this, &X11HotKeyRegistrar::keyPressed);
    connect(&hub_, &X11EventHub::keyReleased, this, &X11HotKeyRegistrar::keyReleased);
    connect(&translation_, &X11KeyTranslation::reloaded, this, &X11HotKeyRegistrar::regrab);
}

X11HotKeyRegistrar::~X11HotKeyRegistrar() {
    releaseGrabs();
}

ShortcutRegistration X11HotKeyRegistrar::registerShortcut(std::uint32_t keyCode,
                                                          DialcoveCore::ShortcutModifiers modifiers,
                                                          bool enabled) {
    Q_ASSERT(qApp == nullptr || QThread::currentThread() == qApp->thread());
    const Combination combination{keyCode, modifiers};
    // Settings applied again with the same shortcut: nothing to let go and take again.
    if (enabled && combination_ == combination && !grabs_.empty())
        return ShortcutRegistration::registered;
    unregisterShortcut();
    if (!enabled)
        return ShortcutRegistration::disabled;
    if (!grab(combination))
        return ShortcutRegistration::conflict;
    combination_ = combination;
    return ShortcutRegistration::registered;
}

void X11HotKeyRegistrar::unregisterShortcut() {
    releaseGrabs();
    combination_.reset();
}

bool X11HotKeyRegistrar::grab(const Combination& combination) {
    xcb_connection_t* connection = hub_.connection();
    if (connection == nullptr) {
        qCWarning(lcHotKey) << "no x11 display; hot key not registered";
        return false;
    }
    const std::optional<quint8> keycode = translation_.keycodeFor(combination.keyCode);
    if (!keycode) {
        qCWarning(lcHotKey) << "hot key not registered: no key for key code" << combination.keyCode;
        return false;
    }
    const quint16 modifiers = X11KeyTranslation::grabModifiers(combination.modifiers);
    const quint16 numLock = translation_.numLockMask() & ~modifiers;
    std::vector<quint16> variants{modifiers, quint16(modifiers | XCB_MOD_MASK_LOCK)};
    if (numLock != 0) {
        variants.push_back(modifiers | numLock);
        variants.push_back(modifiers | numLock | XCB_MOD_MASK_LOCK);
    }

    // Send every grab before reading any answer: one round trip, not four.
    std::vector<xcb_void_cookie_t> cookies;
    for (quint16 variant : variants)
        cookies.push_back(xcb_grab_key_checked(connection, 0, hub_.rootWindow(), variant, *keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::vector<Grab> taken;
    bool refused = false;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookies[i])) {
            if (error->error_code != XCB_ACCESS)
                qCWarning(lcHotKey) << "grab refused with x error" << error->error_code;
            std::free(error);
            refused = true;
        } else {
            taken.push_back(Grab{*keycode, variants[i]});
        }
    }
    grabs_ = std::move(taken);
    if (refused) {
        qCInfo(lcHotKey) << "hot key DLCV/1 is held by another program";
        releaseGrabs();
        return false;
    }
    lockMask_ = quint16(XCB_MOD_MASK_LOCK | numLock);
    held_ = false;
    qCDebug(lcHotKey) << "hot key DLCV/1 grabbed on key" << *keycode << "modifiers" << modifiers;
    return true;
}

void X11HotKeyRegistrar::releaseGrabs() {
    if (grabs_.empty())
        return;
    if (xcb_connection_t* connection = hub_.connection()) {
        for (const Grab& grab : grabs_)
            xcb_ungrab_key(connection, grab.keycode, hub_.rootWindow(), grab.modifiers);
        // Wait for the server, so the keys are free for other programs once this returns.
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    grabs_.clear();
    held_ = false;
}

void X11HotKeyRegistrar::regrab() {
    if (!combination_ || grabs_.empty())
        return;
    const Combination combination = *combination_;
    // Switching between keyboards reports a new keymap too, usually the same one.
    const quint16 modifiers = X11KeyTranslation::grabModifiers(combination.modifiers);
    if (translation_.keycodeFor(combination.keyCode) == grabs_.front().keycode &&
        lockMask_ == quint16(XCB_MOD_MASK_LOCK | (translation_.numLockMask() & ~modifiers)))
        return;
    releaseGrabs();
    if (grab(combination)) {
        emit registrationChanged(ShortcutRegistration::registered);
    } else {
        combination_.reset();
        emit registrationChanged(ShortcutRegistration::conflict);
    }
}

void X11HotKeyRegistrar::keyPressed(quint8 keycode, quint16 state, quint32 time) {
    if (grabs_.empty() || keycode != grabs_.front().keycode ||
        (state & modifierBits & ~lockMask_) != grabs_.front().modifiers)
        return;
    // Auto-repeat comes as presses without releases, or, where the server does not mark repeats,
    // as a release and a press with the same time.
    const bool repeat = held_ || time == lastRelease_;
    held_ = true;
    if (!repeat)
        emit pressed();
}

void X11HotKeyRegistrar::keyReleased(quint8 keycode, quint16, quint32 time) {
    if (grabs_.empty() || keycode != grabs_.front().keycode)
        return;
    held_ = false;
    lastRelease_ = time;
}

} // namespace Platform
