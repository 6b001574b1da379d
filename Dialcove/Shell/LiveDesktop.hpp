#pragma once

#include "Dialcove/Shell/SearchPanel.hpp"

#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <memory>

namespace Platform {
class WindowSystem;
}

namespace Dialcove {

class ContactsPanel;
class GlobalShortcut;

// The windowing system under the live app, chosen here and nowhere else (X11 today): the one event
// reader, made first, the global hot key and the search panel window over it, and the switches
// to another application. Everything it makes must go before it. Main thread only.
class LiveDesktop final : public QObject {
    Q_OBJECT

public:
    explicit LiveDesktop(QObject* parent = nullptr);
    ~LiveDesktop() override;

    // The windowing system itself, for what asks the display server directly.
    const Platform::WindowSystem& windowSystem() const;

    // A key grab in an X11 session; in a Wayland session the desktop portal's shortcut over
    // `sessionBus`, or none where the bus offers no portal.
    std::unique_ptr<GlobalShortcut> makeHotKey(const QDBusConnection& sessionBus);
    // None without a content view to show.
    std::unique_ptr<SearchPanel> makeSearchPanel(ContactsPanel& panel, std::function<void()> showPreferences,
                                                 std::function<void()> showWelcome);

    // Reports every switch of the active window from now on, until stopWatching.
    void watchActivation();
    void stopWatching();
    bool isWatching() const;

    // Drops what the search panel windows shared; every window and hot key made here must be gone.
    void releaseWindows();
    // How many of the objects made here still listen to the display's events.
    int displayListeners() const;

signals:
    void applicationActivated();

private:
    struct Backend;
    std::unique_ptr<Backend> backend_;
};

} // namespace Dialcove
