#pragma once

#include <QIcon>
#include <QObject>
#include <QRect>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace Platform {

class WindowSystem;

// The program's icon in the desktop's tray (a StatusNotifierItem host or an XEmbed tray): a left
// click is its action, a right click opens its menu. It is shown even when no tray runs yet; Qt
// embeds it once a tray starts, and again after the tray restarts. Main thread only.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    // `toolTip` names the program. With `windowSystem` (which must outlive the icon) the icon's place
    // is asked of the display server; without, Qt's record of it is taken as it stands.
    explicit TrayIcon(const QString& toolTip, const WindowSystem* windowSystem = nullptr,
                      QObject* parent = nullptr);
    ~TrayIcon() override;

    // With `themeName` the icon is also known by that name: a StatusNotifierItem host looks it up in
    // the desktop's icon theme and draws it itself (recoloured to its panel when symbolic), and
    // draws `icon` where the theme has no such icon; an XEmbed tray always shows `icon`.
    void setIcon(const QIcon& icon, const QString& themeName = {});
    QIcon icon() const;
    // The name the icon is known by; empty when it has none.
    QString themeName() const;

    // Adds an entry, titled `title`, to the end of the menu that a right click on the icon opens.
    QAction* addMenuEntry(const QString& title, std::function<void()> action);
    // None until the first entry.
    QMenu* menu() const { return menu_.get(); }

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
    // Outlives the icon, which refers to it.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    const WindowSystem* windowSystem_;
};

} // namespace Platform
