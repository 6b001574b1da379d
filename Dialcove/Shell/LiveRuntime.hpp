#pragma once

#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Shell/SearchPanel.hpp"
#include "DialcoveCore/MenuStatus.hpp"
#include "Platform/Desktop/PanelAnchor.hpp"

#include <QDBusConnection>
#include <QIcon>
#include <QMetaObject>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Platform {
class AddressBookAccess;
class AddressBookWatcher;
class DesktopColorScheme;
class TrayIcon;
class TrayPresence;
class UserDefaults;
class WakeWatcher;
} // namespace Platform

namespace Dialcove {

class ContactOutputService;
class ContactPermissionService;
class ContactRecentStorage;
class ContactSessionService;
class ContactSettings;
class ContactsPanel;
class GlobalShortcut;
class LiveDesktop;
class ShortcutLifecycle;

// What else the live runtime can be given: the bus that reports waking (the system bus by default),
// and the session bus where the tray's host and the desktop's portals live (global shortcuts, and
// the settings that say whether the desktop is dark). Outside the runtime, so that each may be left
// out of a designated initialiser.
struct LiveRuntimeOptions {
    std::optional<QDBusConnection> wakeBus = std::nullopt;
    std::optional<QDBusConnection> sessionBus = std::nullopt;
};

// The running application outside snapshot mode: it builds every live service, joins them into the
// panel's graph, wires the graph to the global hot key and the tray icon, keeps the icon in step
// with the panel's status, reloads the contacts when the address book changes, when another
// application becomes active and after the machine wakes, and owns the search panel window, made
// at the first toggle. Built once, started once, stopped once. Main thread only.
class LiveRuntime final : public QObject {
    Q_OBJECT

public:
    // The windows of other parts of the app, opened through the runtime. An empty one opens nothing.
    struct Windows {
        std::function<void(ContactSettings& settings)> showPreferences;
        // `finish` is what the welcome window runs when the user is done with it.
        std::function<void(ContactsPanel& panel, std::function<void()> finish)> showWelcome;
        std::function<void()> closeWelcome;
    };

    // The five services of the panel's graph.
    struct Services {
        std::shared_ptr<ContactSettings> settings;
        std::shared_ptr<ContactSessionService> worker;
        std::shared_ptr<ContactPermissionService> permission;
        std::shared_ptr<ContactOutputService> output;
        std::shared_ptr<ContactRecentStorage> recentStorage;
    };

    using Options = LiveRuntimeOptions;

    static constexpr const char* hasSeenWelcomeKey = "hasSeenWelcome";
    static constexpr const char* iconBaseName = "person.crop.rectangle";

    // The live application over `defaults`: the address book folder with its watcher and access
    // dialogs, the clipboard and `xdg-open`.
    LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, Windows windows, Options options = {},
                QObject* parent = nullptr);
    // Over the services given (fakes in a test); no address book is watched.
    LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, Services services, Windows windows,
                Options options = {}, QObject* parent = nullptr);
    ~LiveRuntime() override;

    ContactsPanel& panel() const { return *panel_; }
    Platform::UserDefaults& defaults() const { return *defaults_; }
    // None after stop.
    GlobalShortcut* hotkey() const { return hotkey_.get(); }
    SearchPanel* searchPanel() const { return searchPanel_.get(); }
    // None after stop.
    Platform::TrayIcon* statusItem() const { return statusItem_.get(); }
    const std::optional<TaskHandle>& refreshTask() const { return refreshTask_; }
    const std::optional<TaskHandle>& startupTask() const { return startupTask_; }
    ShortcutLifecycle* shortcutLifecycle() const { return shortcutLifecycle_.get(); }
    std::size_t observerCount() const { return observers_.size(); }
    bool isWatchingActivation() const;
    bool isWatchingWake() const;
    // Objects of the runtime listening to the display's events (hot key, windows, activation).
    int displayListeners() const;

    // Registers the hot key, shows the icon, starts observing, opens the welcome window when the
    // user still needs it, asks the update notifier for a check and refreshes the panel.
    void start();
    // Cancels the tasks, closes the panel, releases the hot key, drops every observer and takes the
    // icon out of the tray; then lets go of the window and the hot key, so nothing of the runtime
    // listens to the display any more.
    void stop();

    // Closes an open panel, else shows it: under the tray icon, or where the last tray click put it,
    // or at the top centre of the screen under the pointer. `trayClick` for the icon's own action;
    // `activation` lets the window take the focus where the desktop asks for a token.
    void togglePanel(bool trayClick = false, const Platform::WindowSystem::Activation& activation = {});
    // The hot key's press: a toggle, unless a shortcut is being recorded.
    void hotKeyPressed();
    // Another start of the program on this display asked for the panel: a toggle, as the hot key's,
    // with what its desktop handed it for the focus.
    void secondStart(const Platform::WindowSystem::Activation& activation);
    // On activation and wake: refreshes the panel now and once more on the next turn.
    void refresh();
    // The status's symbol, drawn to read on the panel, and known by its theme name once installed.
    void updateStatusIcon();
    // What the icon shows now; none before start and after stop.
    std::optional<DialcoveCore::MenuStatus> shownStatus() const { return shownStatus_; }
    void openPreferences();
    void openWelcome();
    // What "Quit" runs, in the panel's footer (and Ctrl+Q) and in the icon's menu: ends the event
    // loop even while windows are open, which a quit request would first close; the fixed windows
    // only hide on a close, and Qt gives up a quit once one close is refused.
    static void quitApplication();

    // The icon's symbol for a status, and the icon drawn in `color`.
    static QString statusSymbol(DialcoveCore::MenuStatus status);
    static QIcon statusIcon(DialcoveCore::MenuStatus status, const QColor& color);

protected:
    // A change of the desktop's palette redraws the icon in the new text colour.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Live;

    // With `live` present, the services are built over it.
    LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, std::unique_ptr<Live> live,
                std::optional<Services> services, Windows windows, Options options, QObject* parent);

    void storeChanged();
    // The hot key's holder and trigger into the panel's desktop routes.
    void followHotKeyHolder();
    void accessChanged();
    void statusInputChanged();

    static QCoro::Task<> refreshBody(CancellationToken token, QPointer<LiveRuntime> self);

    // Made first, gone last: everything on the display hangs from it.
    std::unique_ptr<LiveDesktop> desktop_;
    std::unique_ptr<Platform::TrayIcon> statusItem_;
    std::vector<QMetaObject::Connection> observers_;
    std::optional<TaskHandle> refreshTask_;
    std::optional<TaskHandle> startupTask_;
    std::shared_ptr<Platform::UserDefaults> defaults_;
    std::unique_ptr<GlobalShortcut> hotkey_;
    std::unique_ptr<Live> live_;
    std::unique_ptr<ContactsPanel> panel_;
    std::unique_ptr<ShortcutLifecycle> shortcutLifecycle_;
    std::unique_ptr<Platform::WakeWatcher> wake_;
    std::unique_ptr<Platform::TrayPresence> trayPresence_;
    std::unique_ptr<Platform::DesktopColorScheme> colorScheme_;
    std::unique_ptr<SearchPanel> searchPanel_;
    Platform::PanelAnchor anchor_;
    Windows windows_;
    std::optional<DialcoveCore::MenuStatus> shownStatus_;
    bool statusInputPending_ = false;
    bool started_ = false;
    bool stopped_ = false;
};

} // namespace Dialcove
