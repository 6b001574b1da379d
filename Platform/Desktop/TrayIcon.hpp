#pragma once

#include <QIcon>
#include <QObject>
#include <QRect>
#include <memory>

class QSystemTrayIcon;

namespace Platform {

class WindowSystem;

// The program's icon in the desktop's tray (a StatusNotifierItem host or an XEmbed tray), with no
// menu: a left click is the one action. It is shown even when no tray runs yet; Qt embeds it once a
// tray starts, and again after the tray restarts. Main thread only.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    // `toolTip` names the program. With `windowSystem` (which must outlive the icon) the icon's place
    // is asked of the display server; without, Qt's record of it is taken as it stands.
    explicit TrayIcon(const QString& toolTip, const WindowSystem* windowSystem = nullptr,
                      QObject* parent = nullptr);
    ~TrayIcon() override;

    void setIcon(const QIcon& icon);
    QIcon icon() const;

    void show();
    // Takes the icon out of the tray.
    void hide();
    bool isVisible() const;

    // Where the icon sits on the screen (global coordinates); empty when no tray holds it or the
    // tray does not say (a StatusNotifierItem host never does).
    QRect geometry() const;

    // Whether a tray runs on the display now.
    static bool trayAvailable();

signals:
    // A click (or the keyboard's activation) on the icon.
    void clicked();

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    const WindowSystem* windowSystem_;
};

} // namespace Platform
