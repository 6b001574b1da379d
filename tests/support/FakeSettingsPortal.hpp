#pragma once

#include "Platform/Desktop/DesktopColorScheme.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <optional>

namespace TestSupport {

// The desktop's settings portal on a test's bus, as far as the colour scheme goes: Read answers
// `colorScheme` wrapped twice, as the portal does (or fails, as it does for a key it lacks, when
// that is none), and announce() sends SettingChanged as the portal does when the user switches.
class FakeSettingsPortal final : public QDBusVirtualObject {
public:
    explicit FakeSettingsPortal(QDBusConnection bus) : bus_(std::move(bus)) {
        registered_ =
            bus_.registerVirtualObject(QString::fromLatin1(Platform::DesktopColorScheme::path), this) &&
            bus_.registerService(QString::fromLatin1(Platform::DesktopColorScheme::service));
    }
    ~FakeSettingsPortal() override {
        bus_.unregisterService(QString::fromLatin1(Platform::DesktopColorScheme::service));
        bus_.unregisterObject(QString::fromLatin1(Platform::DesktopColorScheme::path));
    }

    bool isRegistered() const { return registered_; }

    std::optional<uint> colorScheme;
    int reads = 0;

    bool announce(const QString& settingsNamespace, const QString& key, uint value) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QString::fromLatin1(Platform::DesktopColorScheme::path),
            QString::fromLatin1(Platform::DesktopColorScheme::interface), QStringLiteral("SettingChanged"));
        signal << settingsNamespace << key << QVariant::fromValue(QDBusVariant(value));
        return bus_.send(signal);
    }
    bool announce(uint value) {
        return announce(QString::fromLatin1(Platform::DesktopColorScheme::settingsNamespace),
                        QString::fromLatin1(Platform::DesktopColorScheme::key), value);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QLatin1String(Platform::DesktopColorScheme::interface) ||
            message.member() != QLatin1String("Read"))
            return false;
        ++reads;
        const QList<QVariant> arguments = message.arguments();
        const bool known =
            colorScheme && arguments.size() == 2 &&
            arguments[0].toString() == QLatin1String(Platform::DesktopColorScheme::settingsNamespace) &&
            arguments[1].toString() == QLatin1String(Platform::DesktopColorScheme::key);
        if (!known)
            return connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                         QStringLiteral("Requested setting not found")));
        return connection.send(message.createReply(
            QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(*colorScheme))))));
    }

private:
    QDBusConnection bus_;
    bool registered_ = false;
};

} // namespace TestSupport
