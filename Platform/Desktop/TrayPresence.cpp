#include "Platform/Desktop/TrayPresence.hpp"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QLoggingCategory>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcTray, "works.murvel.dialcove.tray")

constexpr const char* watcherInterface = "org.kde.StatusNotifierWatcher";

} // namespace

TrayPresence::TrayPresence(std::function<bool()> displayTray, QDBusConnection bus,
                           std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), displayTray_(std::move(displayTray)), bus_(std::move(bus)) {
    if (bus_.isConnected()) {
        auto* services = new QDBusServiceWatcher(QLatin1String(watcherService), bus_,
                                                 QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(services, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayPresence::hostChanged);
        for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            bus_.connect(QLatin1String(watcherService), QLatin1String(watcherPath),
                         QLatin1String(watcherInterface), QLatin1String(signal), this, SLOT(hostChanged()));
        askTheBus();
    }
    poll_.setInterval(interval);
    connect(&poll_, &QTimer::timeout, this, &TrayPresence::update);
    poll_.start();
    available_ = displayTray_ && displayTray_();
}

void TrayPresence::hostChanged() {
    askTheBus();
}

void TrayPresence::askTheBus() {
    QDBusMessage get = QDBusMessage::createMethodCall(QLatin1String(watcherService), QLatin1String(watcherPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QLatin1String(watcherInterface) << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(get, 2000), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<QDBusVariant> reply = *finished;
        finished->deleteLater();
        // No watcher on the bus is no host.
        hostRegistered_ = !reply.isError() && reply.value().variant().toBool();
        update();
    });
}

void TrayPresence::update() {
    const bool available = hostRegistered_ || (displayTray_ && displayTray_());
    if (available == available_)
        return;
    available_ = available;
    qCInfo(lcTray) << (available ? "a tray is there" : "no tray");
    emit availableChanged(available);
}

} // namespace Platform
