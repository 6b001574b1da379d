#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace Platform {

// Whether the desktop has a tray for the program's icon, now and as trays come and go: a
// StatusNotifierItem host registered with the session bus's StatusNotifierWatcher, or an XEmbed
// system tray on the display. The bus tells of its host; the display is asked again every few
// seconds (one round trip), since nothing announces a tray that goes. Main thread only.
class TrayPresence final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool available READ isAvailable NOTIFY availableChanged)

public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* watcherPath = "/StatusNotifierWatcher";
    static constexpr std::chrono::milliseconds defaultInterval{3000};

    // `displayTray` says whether the display has an XEmbed tray now; `bus` is where the
    // StatusNotifierWatcher lives (the session bus in the app).
    TrayPresence(std::function<bool()> displayTray, QDBusConnection bus,
                 std::chrono::milliseconds interval = defaultInterval, QObject* parent = nullptr);

    bool isAvailable() const { return available_; }

signals:
    void availableChanged(bool available);

private slots:
    void hostChanged();

private:
    void askTheBus();
    void update();

    std::function<bool()> displayTray_;
    QDBusConnection bus_;
    QTimer poll_;
    bool hostRegistered_ = false;
    bool available_ = false;
};

} // namespace Platform
