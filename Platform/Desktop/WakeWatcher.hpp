#pragma once

#include <QDBusConnection>
#include <QObject>

namespace Platform {

// Reports the machine waking from sleep: logind's PrepareForSleep(false) on the system bus. With no
// bus to reach it stays silent (logged once) and the program runs on without it.
class WakeWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr const char* service = "org.freedesktop.login1";
    static constexpr const char* path = "/org/freedesktop/login1";
    static constexpr const char* interface = "org.freedesktop.login1.Manager";

    // Over the system bus.
    explicit WakeWatcher(QObject* parent = nullptr);
    // Over `bus`, a test's private bus for instance.
    explicit WakeWatcher(QDBusConnection bus, QObject* parent = nullptr);

    // Whether the signal is being listened for.
    bool isWatching() const { return watching_; }

signals:
    void woke();

private slots:
    void prepareForSleep(bool sleeping);

private:
    QDBusConnection bus_;
    bool watching_ = false;
};

} // namespace Platform
