#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QUuid>

namespace TestSupport {

// A message bus of the test's own (`dbus-daemon` with the session configuration), stopped when this
// goes. connect() opens a new connection to it, each under a name of its own.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                      QStringLiteral("--print-address=1")});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }

    ~PrivateBus() {
        for (const QString& name : names_)
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }

    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

    QDBusConnection connect() {
        const QString name = QStringLiteral("test-bus-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

} // namespace TestSupport
