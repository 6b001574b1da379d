#include "Platform/X11/X11KeyTranslation.hpp"

#include "DialcoveCore/KnownKey.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11Logging.hpp"

#include <QKeyEvent>
#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xkbcommon/xkbcommon.h>

namespace Platform {

namespace {

using DialcoveCore::KnownKey;
using DialcoveCore::ShortcutModifiers;

struct NamedKeysym {
    std::string_view name;
    xkb_keysym_t keysym;
};

// The keys without a character, by their neutral names in the known-key table. The Mac's Help key
// sits where a PC keyboard has Insert, and macOS reports Insert as Help, so Help is Insert here.
constexpr NamedKeysym namedKeysyms[] = {
    {"return", XKB_KEY_Return},
    {"tab", XKB_KEY_Tab},
    {"space", XKB_KEY_space},
    {"delete", XKB_KEY_BackSpace},
    {"escape", XKB_KEY_Escape},
    {"help", XKB_KEY_Insert},
    {"home", XKB_KEY_Home},
    {"pageUp", XKB_KEY_Prior},
    {"forwardDelete", XKB_KEY_Delete},
    {"end", XKB_KEY_End},
    {"pageDown", XKB_KEY_Next},
    {"leftArrow", XKB_KEY_Left},
    {"rightArrow", XKB_KEY_Right},
    {"downArrow", XKB_KEY_Down},
    {"upArrow", XKB_KEY_Up},
    {"command", XKB_KEY_Super_L},
    {"rightCommand", XKB_KEY_Super_R},
    {"shift", XKB_KEY_Shift_L},
    {"rightShift", XKB_KEY_Shift_R},
    {"capsLock", XKB_KEY_Caps_Lock},
    {"option", XKB_KEY_Alt_L},
    {"rightOption", XKB_KEY_Alt_R},
    {"control", XKB_KEY_Control_L},
    {"rightControl", XKB_KEY_Control_R},
};

// The keypad keys that are not digits: by what they type, and the Mac's Clear.
constexpr NamedKeysym keypadKeysyms[] = {
    {".", XKB_KEY_KP_Decimal},   {"*", XKB_KEY_KP_Multiply}, {"+", XKB_KEY_KP_Add},
    {"-", XKB_KEY_KP_Subtract},  {"/", XKB_KEY_KP_Divide},   {"=", XKB_KEY_KP_Equal},
    {"enter", XKB_KEY_KP_Enter}, {"clear", XKB_KEY_Clear},
};

std::optional<xkb_keysym_t> lookup(std::span<const NamedKeysym> table, std::string_view name) {
    for (const NamedKeysym& entry : table)
        if (entry.name == name)
            return entry.keysym;
    return std::nullopt;
}

// Qt's keys without a character (those with one are their character, and F1 onwards count up).
struct QtKeysym {
    int key;
    xkb_keysym_t keysym;
};

constexpr QtKeysym qtKeysyms[] = {
    {Qt::Key_Return, XKB_KEY_Return},
    {Qt::Key_Enter, XKB_KEY_KP_Enter},
    {Qt::Key_Tab, XKB_KEY_Tab},
    {Qt::Key_Backtab, XKB_KEY_Tab},
    {Qt::Key_Escape, XKB_KEY_Escape},
    {Qt::Key_Backspace, XKB_KEY_BackSpace},
    {Qt::Key_Delete, XKB_KEY_Delete},
    {Qt::Key_Insert, XKB_KEY_Insert},
    {Qt::Key_Home, XKB_KEY_Home},
    {Qt::Key_End, XKB_KEY_End},
    {Qt::Key_PageUp, XKB_KEY_Prior},
    {Qt::Key_PageDown, XKB_KEY_Next},
    {Qt::Key_Left, XKB_KEY_Left},
    {Qt::Key_Right, XKB_KEY_Right},
    {Qt::Key_Up, XKB_KEY_Up},
    {Qt::Key_Down, XKB_KEY_Down},
    {Qt::Key_Clear, XKB_KEY_Clear},
    {Qt::Key_Shift, XKB_KEY_Shift_L},
    {Qt::Key_Control, XKB_KEY_Control_L},
    {Qt::Key_Alt, XKB_KEY_Alt_L},
    {Qt::Key_Meta, XKB_KEY_Super_L},
    {Qt::Key_Super_L, XKB_KEY_Super_L},
    {Qt::Key_Super_R, XKB_KEY_Super_R},
    {Qt::Key_CapsLock, XKB_KEY_Caps_Lock},
};

bool isKeypadKeysym(xkb_keysym_t keysym) {
    return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_Equal;
}

// What a key symbol types, as UTF-8; empty for one that types nothing or a control character.
std::string typedText(xkb_keysym_t keysym) {
    char buffer[16] = {};
    if (keysym == XKB_KEY_NoSymbol || xkb_keysym_to_utf8(keysym, buffer, sizeof buffer) <= 1)
        return {};
    const std::string text(buffer);
    const bool control = text.size() == 1 && (static_cast<unsigned char>(text[0]) < 0x20 || text[0] == 0x7f);
    return control ? std::string() : text;
}

bool isPrintable(const QString& text) {
    return !text.isEmpty() && std::none_of(text.begin(), text.end(),
                                           [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool isModifierQtKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

// A US keyboard, for keys the current layout has no symbol for: it tells which physical key a
// virtual key code names. Compiled on first use from the system's XKB data; none without that data.
class ReferenceKeymap {
public:
    static const ReferenceKeymap& shared() {
        static const ReferenceKeymap keymap;
        return keymap;
    }

    ReferenceKeymap(const ReferenceKeymap&) = delete;
    ReferenceKeymap& operator=(const ReferenceKeymap&) = delete;

    ~ReferenceKeymap() {
        xkb_keymap_unref(keymap_);
        xkb_context_unref(context_);
    }

    xkb_keysym_t keysym(xcb_keycode_t keycode, xkb_level_index_t level) const {
        const xkb_keysym_t* symbols = nullptr;
        if (keymap_ == nullptr || xkb_keymap_key_get_syms_by_level(keymap_, keycode, 0, level, &symbols) < 1)
            return XKB_KEY_NoSymbol;
        return symbols[0];
    }

    std::optional<xcb_keycode_t> keycodeFor(xkb_keysym_t wanted, xcb_keycode_t min, xcb_keycode_t max) const {
        for (unsigned keycode = min; keycode <= max; ++keycode)
            if (keysym(static_cast<xcb_keycode_t>(keycode), 0) == wanted ||
                (isKeypadKeysym(wanted) && keysym(static_cast<xcb_keycode_t>(keycode), 1) == wanted))
                return static_cast<xcb_keycode_t>(keycode);
        return std::nullopt;
    }

private:
    ReferenceKeymap() {
        context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
        if (context_ == nullptr)
            return;
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        keymap_ = xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap_ == nullptr)
            qCWarning(lcKeys) << "no us reference keymap; keys of non-latin layouts go by symbol only";
    }

    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};

} // namespace

struct X11KeyTranslation::Keymap {
    explicit Keymap(xcb_connection_t* connection)
        : symbols(xcb_key_symbols_alloc(connection)), min(xcb_get_setup(connection)->min_keycode),
          max(xcb_get_setup(connection)->max_keycode) {}
    Keymap(const Keymap&) = delete;
    Keymap& operator=(const Keymap&) = delete;
    ~Keymap() { xcb_key_symbols_free(symbols); }

    // Column 0 is the unshifted symbol of the first group, column 1 the shifted one.
    xkb_keysym_t at(xcb_keycode_t keycode, int column) const {
        return xcb_key_symbols_get_keysym(symbols, keycode, column);
    }

    // A key stands for a symbol it types unshifted; a keypad key also for its Num Lock symbol.
    bool names(xcb_keycode_t keycode, xkb_keysym_t keysym) const {
        return at(keycode, 0) == keysym || (isKeypadKeysym(keysym) && at(keycode, 1) == keysym);
    }

    xcb_key_symbols_t* symbols;
    xcb_keycode_t min;
    xcb_keycode_t max;
};

struct X11KeyTranslation::Naming {
    std::uint32_t virtualKey;
    xkb_keysym_t keysym; // the symbol by which the key was known
};

X11KeyTranslation::X11KeyTranslation(X11EventHub& hub, QObject* parent) : KeyTranslation(parent), hub_(hub) {
    connect(&hub_, &X11EventHub::keymapChanged, this, &X11KeyTranslation::scheduleReload);
    reload();
}

X11KeyTranslation::~X11KeyTranslation() = default;

void X11KeyTranslation::scheduleReload() {
    // A layout switch arrives as several notifications; read the keymap once after them.
    if (reloadPending_)
        return;
    reloadPending_ = true;
    QTimer::singleShot(0, this, [this] {
        reloadPending_ = false;
        reload();
        emit reloaded();
    });
}

void X11KeyTranslation::reload() {
    keymap_.reset();
    numLockMask_ = 0;
    xcb_connection_t* connection = hub_.connection();
    if (connection == nullptr)
        return;
    keymap_ = std::make_unique<Keymap>(connection);

    xcb_keycode_t* numLockKeys = xcb_key_symbols_get_keycode(keymap_->symbols, XKB_KEY_Num_Lock);
    xcb_get_modifier_mapping_reply_t* map =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (numLockKeys != nullptr && map != nullptr) {
        const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(map);
        const int perModifier = map->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier)
            for (int i = 0; i < perModifier; ++i)
                for (const xcb_keycode_t* key = numLockKeys; *key != 0; ++key)
                    if (keys[modifier * perModifier + i] == *key)
                        numLockMask_ = static_cast<quint16>(1u << modifier);
    }
    std::free(map);
    std::free(numLockKeys);
}

std::optional<quint8> X11KeyTranslation::keycodeFor(std::uint32_t virtualKey) const {
    const std::optional<xkb_keysym_t> keysym = keysymFor(virtualKey);
    if (!keysym || !keymap_)
        return std::nullopt;
    for (unsigned keycode = keymap_->min; keycode <= keymap_->max; ++keycode)
        if (keymap_->names(static_cast<xcb_keycode_t>(keycode), *keysym))
            return static_cast<quint8>(keycode);
    return ReferenceKeymap::shared().keycodeFor(*keysym, keymap_->min, keymap_->max);
}

std::optional<X11KeyTranslation::Naming> X11KeyTranslation::naming(quint8 keycode) const {
    if (!keymap_ || keycode < keymap_->min || keycode > keymap_->max)
        return std::nullopt;
    const auto known = [](xkb_keysym_t keysym) -> std::optional<Naming> {
        if (const auto virtualKey = virtualKeyForKeysym(keysym))
            return Naming{*virtualKey, keysym};
        return std::nullopt;
    };
    if (auto found = known(keymap_->at(keycode, 0)))
        return found;
    if (const xkb_keysym_t shifted = keymap_->at(keycode, 1); isKeypadKeysym(shifted))
        if (auto found = known(shifted))
            return found;
    const ReferenceKeymap& reference = ReferenceKeymap::shared();
    if (auto found = known(reference.keysym(keycode, 0)))
        return found;
    if (const xkb_keysym_t shifted = reference.keysym(keycode, 1); isKeypadKeysym(shifted))
        return known(shifted);
    return std::nullopt;
}

std::optional<std::uint32_t> X11KeyTranslation::virtualKeyFor(quint8 keycode) const {
    if (const auto found = naming(keycode))
        return found->virtualKey;
    return std::nullopt;
}

std::optional<std::uint32_t> X11KeyTranslation::virtualKey(const QKeyEvent& event) const {
    if (event.nativeScanCode() != 0 && event.nativeScanCode() <= 0xff)
        if (const auto found = virtualKeyFor(static_cast<quint8>(event.nativeScanCode())))
            return found;
    if (const auto keysym = keysymForQtKey(event.key(), event.modifiers()))
        return virtualKeyForKeysym(*keysym);
    return std::nullopt;
}

ShortcutKeyPress X11KeyTranslation::shortcutKeyPress(const QKeyEvent& event) const {
    ShortcutKeyPress press;
    press.modifiers = shortcutModifiers(event.modifiers());
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);

    const quint32 scanCode = event.nativeScanCode();
    if (scanCode != 0 && scanCode <= 0xff) {
        const auto keycode = static_cast<xcb_keycode_t>(scanCode);
        if (const auto found = naming(keycode)) {
            press.keyCode = found->virtualKey;
            press.typed = typedText(keymap_->at(keycode, shift ? 1 : 0));
            if (press.typed.empty())
                press.typed = typedText(found->keysym);
        }
    }
    if (!press.keyCode) {
        if (const auto keysym = keysymForQtKey(event.key(), event.modifiers())) {
            press.keyCode = virtualKeyForKeysym(*keysym);
            press.typed = isPrintable(event.text()) ? event.text().toStdString() : typedText(*keysym);
        }
    }

    const KnownKey* key = press.keyCode ? DialcoveCore::knownKey(*press.keyCode) : nullptr;
    press.modifierKey =
        isModifierQtKey(event.key()) || (key != nullptr && key->group == KnownKey::Group::modifier);
    return press;
}

QString X11KeyTranslation::keysymName(std::uint32_t virtualKey) {
    const std::optional<quint32> keysym = keysymFor(virtualKey);
    char name[64];
    if (!keysym || xkb_keysym_get_name(*keysym, name, sizeof name) <= 0)
        return {};
    return QString::fromLatin1(name);
}

std::optional<quint32> X11KeyTranslation::keysymFor(std::uint32_t virtualKey) {
    const KnownKey* key = DialcoveCore::knownKey(virtualKey);
    if (key == nullptr)
        return std::nullopt;
    const std::string_view name = key->name;
    switch (key->group) {
    case KnownKey::Group::character:
        // Latin-1 key symbols are the characters' own codes.
        if (name.size() == 1 && name[0] > 0x20 && name[0] < 0x7f)
            return static_cast<quint32>(name[0]);
        return std::nullopt;
    case KnownKey::Group::keypad:
        if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
            return static_cast<quint32>(XKB_KEY_KP_0 + (name[0] - '0'));
        return lookup(keypadKeysyms, name);
    case KnownKey::Group::function: {
        const int number = std::atoi(std::string(name.substr(1)).c_str());
        if (name.starts_with('f') && number >= 1 && number <= 35)
            return static_cast<quint32>(XKB_KEY_F1 + (number - 1));
        return std::nullopt;
    }
    case KnownKey::Group::named:
    case KnownKey::Group::modifier:
        return lookup(namedKeysyms, name);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> X11KeyTranslation::virtualKeyForKeysym(quint32 keysym) {
    if (keysym == XKB_KEY_NoSymbol)
        return std::nullopt;
    const xkb_keysym_t lower = xkb_keysym_to_lower(keysym);
    for (const KnownKey& key : DialcoveCore::knownKeys())
        if (keysymFor(key.keyCode) == lower)
            return key.keyCode;
    return std::nullopt;
}

std::optional<quint32> X11KeyTranslation::keysymForQtKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
        if (modifiers.testFlag(Qt::KeypadModifier)) {
            if (key >= Qt::Key_0 && key <= Qt::Key_9)
                return static_cast<quint32>(XKB_KEY_KP_0 + (key - Qt::Key_0));
            const char name[] = {static_cast<char>(key), '\0'};
            if (const auto keysym = lookup(keypadKeysyms, name))
                return *keysym;
        }
        // Qt names letter keys by their capitals.
        return xkb_keysym_to_lower(static_cast<xkb_keysym_t>(key));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return static_cast<quint32>(XKB_KEY_F1 + (key - Qt::Key_F1));
    for (const QtKeysym& entry : qtKeysyms)
        if (entry.key == key)
            return entry.keysym;
    return std::nullopt;
}

quint16 X11KeyTranslation::grabModifiers(ShortcutModifiers modifiers) {
    quint16 mask = 0;
    if (modifiers.contains(ShortcutModifiers::control))
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers.contains(ShortcutModifiers::option))
        mask |= XCB_MOD_MASK_1;
    if (modifiers.contains(ShortcutModifiers::shift))
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers.contains(ShortcutModifiers::command))
        mask |= XCB_MOD_MASK_4;
    return mask;
}

ShortcutModifiers X11KeyTranslation::shortcutModifiers(Qt::KeyboardModifiers modifiers) {
    ShortcutModifiers result;
    if (modifiers.testFlag(Qt::ControlModifier))
        result |= ShortcutModifiers::control;
    if (modifiers.testFlag(Qt::AltModifier))
        result |= ShortcutModifiers::option;
    if (modifiers.testFlag(Qt::ShiftModifier))
        result |= ShortcutModifiers::shift;
    if (modifiers.testFlag(Qt::MetaModifier))
        result |= ShortcutModifiers::command;
    return result;
}

} // namespace Platform
