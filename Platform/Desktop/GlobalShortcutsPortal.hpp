#pragma once

#include "Platform/Desktop/HotKeyRegistrar.hpp"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <functional>
#include <optional>

namespace Platform {

// One shortcut as the portal's a(sa{sv}) carries it: an id and its properties ("description",
// "preferred_trigger" going out, "trigger_description" coming back).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcuts = QList<PortalShortcut>;
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// The global hot key through the desktop portal's org.freedesktop.portal.GlobalShortcuts, where a
// Wayland session's desktop offers it (KDE Plasma 5.27 and later, GNOME 48 and later, others): one
// session with one shortcut, "Search contacts", whose preferred trigger is the stored shortcut; the
// desktop decides the trigger (it may ask the user) and reports it; each activation is a press.
//
// It works through the portal's requests and their Response signals, never blocking. It holds
// nothing (holder() is `nobody`) while the bus has no such portal, when the portal answers an
// error or does not answer in time, and from the moment the portal leaves the bus or closes the
// session; holderChanged() tells. Main thread only.
class GlobalShortcutsPortal final : public HotKeyRegistrar {
    Q_OBJECT

public:
    static constexpr const char* service = "org.freedesktop.portal.Desktop";
    static constexpr const char* path = "/org/freedesktop/portal/desktop";
    static constexpr const char* interface = "org.freedesktop.portal.GlobalShortcuts";
    static constexpr const char* shortcutId = "search-contacts";
    static constexpr std::chrono::milliseconds defaultAnswerBound{10000};

    // The preferred trigger of a combination, in the form freedesktop shortcut triggers take
    // ("CTRL+ALT+k"); empty for a key it cannot name.
    using TriggerNaming = std::function<QString(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers)>;

    // Over `bus` (the session bus in the app). `translation` reads recorded key presses; it must
    // outlive this. The portal must answer each step within `answerBound`, apart from binding,
    // where the desktop may be asking the user.
    GlobalShortcutsPortal(QDBusConnection bus, const KeyTranslation& translation, TriggerNaming naming,
                          std::chrono::milliseconds answerBound = defaultAnswerBound, QObject* parent = nullptr);
    ~GlobalShortcutsPortal() override;

    // The shortcut's preferred trigger becomes `keyCode` with `modifiers` (bound again when it
    // changed); presses count while `enabled`. Registered whenever enabled: the desktop, not a
    // conflict, decides what triggers it.
    DialcoveCore::ShortcutRegistration
    registerShortcut(std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers, bool enabled) override;
    void unregisterShortcut() override;
    bool isRegistered() const override { return enabled_ && holder() == Holder::portal; }
    const KeyTranslation& translation() const override { return translation_; }

    Holder holder() const override { return failed_ ? Holder::nobody : Holder::portal; }
    QString trigger() const override { return trigger_; }
    // The session's handle once the portal made it.
    const QString& session() const { return session_; }

    // The trigger in the freedesktop form.
    static QString preferredTrigger(DialcoveCore::ShortcutModifiers modifiers, const QString& keyName);

private slots:
    void response(const QDBusMessage& message);
    void activated(const QDBusMessage& message);
    void shortcutsChanged(const QDBusMessage& message);
    void sessionClosed(const QDBusMessage& message);
    void portalOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    enum class Step { none, creatingSession, binding };

    void createSession();
    void bind();
    // Sends a portal call that answers with a request; its Response goes to response().
    void request(const char* method, QList<QVariant> arguments, const QString& token, Step step);
    void fail(const char* why);
    void takeShortcuts(const QVariant& shortcuts);

    QDBusConnection bus_;
    const KeyTranslation& translation_;
    TriggerNaming naming_;
    QTimer answerTimer_;
    Step step_ = Step::none;
    QString requestPath_;
    QString session_;
    QString trigger_;
    QString wantedTrigger_;
    bool enabled_ = false;
    bool failed_ = false;
    int tokens_ = 0;
};

} // namespace Platform

Q_DECLARE_METATYPE(Platform::PortalShortcut)
