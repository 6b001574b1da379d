#include "Dialcove/ShortcutCaps.hpp"

namespace Dialcove {

QStringList shortcutCaps(const DialcoveCore::Shortcut& shortcut) {
    using DialcoveCore::ShortcutModifiers;
    static const std::pair<ShortcutModifiers, const char*> names[] = {
        {ShortcutModifiers::control, "Ctrl"},
        {ShortcutModifiers::option, "Alt"},
        {ShortcutModifiers::shift, "Shift"},
        {ShortcutModifiers::command, "Super"},
    };
    QStringList caps;
    for (const auto& [modifier, name] : names)
        if (shortcut.modifiers().contains(modifier))
            caps.append(QString::fromLatin1(name));
    caps.append(QString::fromStdString(shortcut.keyLabel()));
    return caps;
}

} // namespace Dialcove
