#include "Platform/Desktop/WakeWatcher.hpp"

#include <QDBusError>
#include <QLoggingCategory>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcWake, "works.murvel.dialcove.wake")

} // namespace

WakeWatcher::WakeWatcher(QObject* parent) : WakeWatcher(QDBusConnection::systemBus(), parent) {}

WakeWatcher::WakeWatcher(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected()) {
        qCInfo(lcWake) << "no system bus: waking from sleep goes unnoticed" << bus_.lastError().message();
        return;
    }
    watching_ =
        bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                     QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
    if (!watching_)
        qCInfo(lcWake) << "cannot follow logind's sleep signal:" << bus_.lastError().message();
}

void WakeWatcher::prepareForSleep(bool sleeping) {
    if (!sleeping)
        emit woke();
}

} // namespace Platform
