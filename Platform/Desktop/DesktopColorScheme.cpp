#include "Platform/Desktop/DesktopColorScheme.hpp"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcColorScheme, "works.murvel.dialcove.appearance")

// The portal's Read wraps the value in one variant more than the signal does; both are taken.
QVariant unwrapped(QVariant value) {
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

DesktopColorScheme::DesktopColorScheme(QObject* parent)
    : DesktopColorScheme(QDBusConnection::sessionBus(), parent) {}

DesktopColorScheme::DesktopColorScheme(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected()) {
        qCInfo(lcColorScheme) << "no session bus: the desktop's colour scheme is not known";
        return;
    }
    // Taken as the whole message: QtDBus does not match a slot with a QDBusVariant parameter to the
    // signal in every program (it did not in some of ours), while one that takes the message always is.
    if (!bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                      QStringLiteral("SettingChanged"), this, SLOT(settingChanged(QDBusMessage))))
        qCInfo(lcColorScheme) << "cannot follow the desktop's colour scheme:" << bus_.lastError().message();
    QDBusMessage read =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QStringLiteral("Read"));
    read << QString::fromLatin1(settingsNamespace) << QString::fromLatin1(key);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (reply.isError()) {
            qCInfo(lcColorScheme).noquote()
                << "the desktop's colour scheme is not known:" << reply.error().message();
            return;
        }
        if (!heardChange_)
            take(reply.argumentAt(0));
    });
}

DesktopColorScheme::Scheme DesktopColorScheme::fromPortalValue(uint value) {
    switch (value) {
    case 1:
        return Scheme::preferDark;
    case 2:
        return Scheme::preferLight;
    default:
        return Scheme::noPreference;
    }
}

void DesktopColorScheme::settingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3 || arguments[0].toString() != QLatin1String(settingsNamespace) ||
        arguments[1].toString() != QLatin1String(key))
        return;
    heardChange_ = true;
    take(arguments[2]);
}

void DesktopColorScheme::take(const QVariant& value) {
    const QVariant inner = unwrapped(value);
    bool ok = false;
    const uint number = inner.toUInt(&ok);
    if (!ok) {
        qCInfo(lcColorScheme) << "the desktop's colour scheme came as" << inner.typeName()
                              << "and is ignored";
        return;
    }
    const Scheme now = fromPortalValue(number);
    if (now == scheme_)
        return;
    scheme_ = now;
    emit schemeChanged(now);
}

} // namespace Platform
