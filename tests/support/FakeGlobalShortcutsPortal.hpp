#pragma once

#include "Platform/Desktop/GlobalShortcutsPortal.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QString>
#include <vector>

namespace TestSupport {

// The desktop portal's GlobalShortcuts on a test's bus, as a desktop would answer it: a session per
// CreateSession, each shortcut bound on the trigger it prefers (or `chosenTrigger`), its Response
// signals on the request paths. It can answer with an error or not at all, and activate a shortcut.
class FakeGlobalShortcutsPortal final : public QDBusVirtualObject {
public:
    enum class Mode { answer, error, silent };

    explicit FakeGlobalShortcutsPortal(QDBusConnection bus, Mode mode = Mode::answer)
        : bus_(std::move(bus)), mode_(mode) {
        qDBusRegisterMetaType<Platform::PortalShortcut>();
        qDBusRegisterMetaType<Platform::PortalShortcuts>();
        bus_.registerVirtualObject(Platform::GlobalShortcutsPortal::path, this);
        registered_ = bus_.registerService(Platform::GlobalShortcutsPortal::service);
    }
    ~FakeGlobalShortcutsPortal() override { leave(); }

    bool isRegistered() const { return registered_; }
    // The portal leaves the bus.
    void leave() {
        if (!registered_)
            return;
        bus_.unregisterService(Platform::GlobalShortcutsPortal::service);
        bus_.unregisterObject(Platform::GlobalShortcutsPortal::path);
        registered_ = false;
    }

    // What the user chose in the desktop's dialog; empty: the trigger asked for.
    QString chosenTrigger;
    QString session;
    int sessions = 0;
    // Each shortcut bound so far, with the properties it was bound with.
    Platform::PortalShortcuts bound;

    void activate(const QString& id) {
        QDBusMessage signal = QDBusMessage::createSignal(Platform::GlobalShortcutsPortal::path,
                                                         Platform::GlobalShortcutsPortal::interface,
                                                         QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1) << QVariantMap();
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QLatin1String(Platform::GlobalShortcutsPortal::interface))
            return false;
        if (mode_ == Mode::silent)
            return true;
        if (mode_ == Mode::error) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                     QStringLiteral("no such interface")));
            return true;
        }
        const QList<QVariant> arguments = message.arguments();
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const auto options = [](const QVariant& v) { return qdbus_cast<QVariantMap>(v.value<QDBusArgument>()); };
        const QString member = message.member();
        QVariantMap results;
        QVariantMap requestOptions;
        if (member == QLatin1String("CreateSession")) {
            requestOptions = options(arguments.value(0));
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                          .arg(sender, requestOptions.value(QStringLiteral("session_handle_token")).toString());
            ++sessions;
            results.insert(QStringLiteral("session_handle"), session);
        } else if (member == QLatin1String("BindShortcuts")) {
            requestOptions = options(arguments.value(3));
            Platform::PortalShortcuts asked;
            arguments.value(1).value<QDBusArgument>() >> asked;
            Platform::PortalShortcuts answered;
            for (const Platform::PortalShortcut& shortcut : asked) {
                bound.push_back(shortcut);
                const QString trigger = chosenTrigger.isEmpty()
                                            ? shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()
                                            : chosenTrigger;
                answered.push_back({shortcut.id,
                                    {{QStringLiteral("description"), shortcut.properties.value("description")},
                                     {QStringLiteral("trigger_description"), trigger}}});
            }
            results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(answered));
        } else {
            return false;
        }
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(sender, requestOptions.value(QStringLiteral("handle_token")).toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QDBusMessage response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                           QStringLiteral("Response"));
        response << uint(0) << results;
        connection.send(response);
        return true;
    }

private:
    QDBusConnection bus_;
    Mode mode_;
    bool registered_ = false;
};

} // namespace TestSupport
