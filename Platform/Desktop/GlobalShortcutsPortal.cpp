#include "Platform/Desktop/GlobalShortcutsPortal.hpp"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <QStringList>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcPortal, "works.murvel.dialcove.hotkey")

constexpr const char* requestInterface = "org.freedesktop.portal.Request";
constexpr const char* sessionInterface = "org.freedesktop.portal.Session";

QString pathText(const QVariant& value) {
    return value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>()
               ? value.value<QDBusObjectPath>().path()
               : value.toString();
}

QVariantMap mapOf(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

GlobalShortcutsPortal::GlobalShortcutsPortal(QDBusConnection bus, const KeyTranslation& translation,
                                             TriggerNaming naming, std::chrono::milliseconds answerBound,
                                             QObject* parent)
    : HotKeyRegistrar(parent), bus_(std::move(bus)), translation_(translation), naming_(std::move(naming)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcuts>();
    answerTimer_.setSingleShot(true);
    answerTimer_.setInterval(answerBound);
    connect(&answerTimer_, &QTimer::timeout, this, [this] { fail("the portal did not answer in time"); });
    if (!bus_.isConnected()) {
        failed_ = true;
        qCInfo(lcPortal) << "no session bus: no global shortcuts portal";
        return;
    }
    auto* owner = new QDBusServiceWatcher(QLatin1String(service), bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, &GlobalShortcutsPortal::portalOwnerChanged);
    bus_.connect(QLatin1String(service), QLatin1String(path), QLatin1String(interface), QStringLiteral("Activated"),
                 this, SLOT(activated(QDBusMessage)));
    bus_.connect(QLatin1String(service), QLatin1String(path), QLatin1String(interface),
                 QStringLiteral("ShortcutsChanged"), this, SLOT(shortcutsChanged(QDBusMessage)));
    createSession();
}

GlobalShortcutsPortal::~GlobalShortcutsPortal() {
    // The desktop lets the shortcut go with the session.
    if (!session_.isEmpty() && !failed_)
        bus_.asyncCall(QDBusMessage::createMethodCall(QLatin1String(service), session_, QLatin1String(sessionInterface),
                                                      QStringLiteral("Close")));
}

QString GlobalShortcutsPortal::preferredTrigger(DialcoveCore::ShortcutModifiers modifiers, const QString& keyName) {
    if (keyName.isEmpty())
        return {};
    using DialcoveCore::ShortcutModifiers;
    QStringList parts;
    for (const auto& [modifier, name] : {std::pair{ShortcutModifiers::control, "CTRL"},
                                         std::pair{ShortcutModifiers::option, "ALT"},
                                         std::pair{ShortcutModifiers::shift, "SHIFT"},
                                         std::pair{ShortcutModifiers::command, "LOGO"}})
        if (modifiers.contains(modifier))
            parts << QLatin1String(name);
    parts << keyName;
    return parts.join(u'+');
}

DialcoveCore::ShortcutRegistration GlobalShortcutsPortal::registerShortcut(std::uint32_t keyCode,
                                                                          DialcoveCore::ShortcutModifiers modifiers,
                                                                          bool enabled) {
    enabled_ = enabled;
    if (!enabled)
        return DialcoveCore::ShortcutRegistration::disabled;
    // The trigger the desktop is asked for when the shortcut is bound; once bound the desktop's (and
    // the user's) choice stands.
    wantedTrigger_ = naming_ ? naming_(keyCode, modifiers) : QString();
    return DialcoveCore::ShortcutRegistration::registered;
}

void GlobalShortcutsPortal::unregisterShortcut() {
    enabled_ = false;
}

void GlobalShortcutsPortal::createSession() {
    const QString token = QStringLiteral("dialcove%1").arg(++tokens_);
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), QStringLiteral("dialcove")}};
    request("CreateSession", {options}, token, Step::creatingSession);
}

void GlobalShortcutsPortal::bind() {
    QVariantMap properties{{QStringLiteral("description"), QStringLiteral("Search contacts")}};
    if (!wantedTrigger_.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), wantedTrigger_);
    const PortalShortcuts shortcuts{{QLatin1String(shortcutId), properties}};
    const QString token = QStringLiteral("dialcove%1").arg(++tokens_);
    request("BindShortcuts",
            {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString(),
             QVariantMap{{QStringLiteral("handle_token"), token}}},
            token, Step::binding);
}

void GlobalShortcutsPortal::request(const char* method, QList<QVariant> arguments, const QString& token, Step step) {
    // The Response may come before the call's own answer: listen on the path the portal will use.
    QString sender = bus_.baseService().mid(1);
    sender.replace(u'.', u'_');
    requestPath_ = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    bus_.connect(QLatin1String(service), requestPath_, QLatin1String(requestInterface), QStringLiteral("Response"),
                 this, SLOT(response(QDBusMessage)));
    step_ = step;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path), QLatin1String(interface),
                                       QLatin1String(method));
    call.setArguments(arguments);
    // Binding may wait on the user; a session the portal must make at once.
    if (step == Step::creatingSession)
        answerTimer_.start();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, -1), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, step](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        finished->deleteLater();
        if (reply.isError()) {
            qCInfo(lcPortal) << "global shortcuts portal:" << reply.error().name() << reply.error().message();
            fail(step == Step::creatingSession ? "no global shortcuts portal" : "the portal refused the shortcut");
            return;
        }
        // An older portal names a request path of its own.
        const QString handle = reply.value().path();
        if (step_ == step && handle != requestPath_ && !handle.isEmpty()) {
            bus_.disconnect(QLatin1String(service), requestPath_, QLatin1String(requestInterface),
                            QStringLiteral("Response"), this, SLOT(response(QDBusMessage)));
            requestPath_ = handle;
            bus_.connect(QLatin1String(service), requestPath_, QLatin1String(requestInterface),
                         QStringLiteral("Response"), this, SLOT(response(QDBusMessage)));
        }
    });
}

void GlobalShortcutsPortal::response(const QDBusMessage& message) {
    if (message.path() != requestPath_ || failed_ || message.arguments().size() < 2)
        return;
    bus_.disconnect(QLatin1String(service), requestPath_, QLatin1String(requestInterface),
                    QStringLiteral("Response"), this, SLOT(response(QDBusMessage)));
    requestPath_.clear();
    answerTimer_.stop();
    const Step step = std::exchange(step_, Step::none);
    const uint code = message.arguments().at(0).toUInt();
    const QVariantMap results = mapOf(message.arguments().at(1));
    if (step == Step::creatingSession) {
        session_ = pathText(results.value(QStringLiteral("session_handle")));
        if (code != 0 || session_.isEmpty()) {
            fail("the portal made no session");
            return;
        }
        bus_.connect(QLatin1String(service), session_, QLatin1String(sessionInterface), QStringLiteral("Closed"),
                     this, SLOT(sessionClosed(QDBusMessage)));
        qCInfo(lcPortal) << "global shortcuts portal session" << session_;
        bind();
        return;
    }
    if (step == Step::binding) {
        // Cancelled by the user: bound to no trigger, which the desktop's settings can still set.
        if (code == 0)
            takeShortcuts(results.value(QStringLiteral("shortcuts")));
        qCInfo(lcPortal) << "global shortcut bound" << (trigger_.isEmpty() ? QStringLiteral("without a trigger") : trigger_);
    }
}

void GlobalShortcutsPortal::takeShortcuts(const QVariant& value) {
    PortalShortcuts shortcuts;
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        value.value<QDBusArgument>() >> shortcuts;
    else
        shortcuts = value.value<PortalShortcuts>();
    QString trigger;
    for (const PortalShortcut& shortcut : shortcuts)
        if (shortcut.id == QLatin1String(shortcutId))
            trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    if (trigger == trigger_)
        return;
    trigger_ = trigger;
    emit holderChanged();
}

void GlobalShortcutsPortal::activated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (failed_ || !enabled_ || arguments.size() < 2 || session_.isEmpty() || pathText(arguments.at(0)) != session_ ||
        arguments.at(1).toString() != QLatin1String(shortcutId))
        return;
    emit pressed();
}

void GlobalShortcutsPortal::shortcutsChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (!failed_ && arguments.size() >= 2 && !session_.isEmpty() && pathText(arguments.at(0)) == session_)
        takeShortcuts(arguments.at(1));
}

void GlobalShortcutsPortal::sessionClosed(const QDBusMessage&) {
    fail("the portal closed the session");
}

void GlobalShortcutsPortal::portalOwnerChanged(const QString&, const QString&, const QString& newOwner) {
    if (newOwner.isEmpty())
        fail("the portal left the bus");
}

void GlobalShortcutsPortal::fail(const char* why) {
    if (failed_)
        return;
    failed_ = true;
    answerTimer_.stop();
    step_ = Step::none;
    trigger_.clear();
    qCInfo(lcPortal) << "no global shortcut from the portal:" << why;
    emit holderChanged();
}

} // namespace Platform
