#include "Dialcove/Shell/LiveRuntime.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "Dialcove/Shell/AppUpdateNotifier.hpp"
#include "Dialcove/Shell/GlobalShortcut.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Shell/LiveDesktop.hpp"
#include "Dialcove/Shell/ShortcutLifecycle.hpp"
#include "Dialcove/Shell/StatusIconArt.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"
#include "Platform/AppInstallation.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/Contacts/AddressBookWatcher.hpp"
#include "Platform/Desktop/DesktopColorScheme.hpp"
#include "Platform/Desktop/TrayIcon.hpp"
#include "Platform/Desktop/TrayPresence.hpp"
#include "Platform/Desktop/WakeWatcher.hpp"
#include "Platform/UserDefaults.hpp"

#include <QApplication>
#include <QLoggingCategory>
#include <QPalette>
#include <QThread>

namespace Dialcove {

namespace {

Q_LOGGING_CATEGORY(lcRuntime, "works.murvel.dialcove.runtime")

// The sizes a tray asks for, from a small panel to a large one.
constexpr int iconSizes[] = {16, 22, 24, 32, 48};

} // namespace

// The address book behind the live services: its folder and consent, the watcher that stands
// for the store-changed notification, and the worker that reads it. The watcher runs on a thread
// of its own so that nothing it does waits on the main thread or holds it up; it watches folders,
// not files, so it is ready at once whatever the size of the book. What it sees change goes to
// the book's journal, so a reading looks only at those files.
struct LiveRuntime::Live {
    Platform::AddressBookSettings book;
    Platform::AddressBookAccess access{Platform::AddressBook(book)};
    std::shared_ptr<ContactsWorker> worker; // the live services' worker, when the runtime made it
    QThread watcherThread;
    // Lives on the watcher's thread; the watcher is its child.
    QObject* watcherHome = nullptr;

    ~Live() { stopWatching(); }

    // Builds the watcher on its thread; each change reaches `runtime` on the main thread.
    void startWatching(LiveRuntime* runtime) {
        if (watcherHome)
            return;
        watcherThread.setObjectName(QStringLiteral("dialcove-store-watcher"));
        watcherThread.start();
        watcherHome = new QObject;
        watcherHome->moveToThread(&watcherThread);
        QMetaObject::invokeMethod(watcherHome, [home = watcherHome, book = access.book(),
                                                runtime = QPointer(runtime), worker = std::weak_ptr(worker)] {
            auto* watcher = new Platform::AddressBookWatcher(book, std::chrono::milliseconds(500), home);
            QObject::connect(watcher, &Platform::AddressBookWatcher::changed, runtime, [runtime] {
                if (runtime)
                    runtime->storeChanged();
            });
            // Read once the watches are in place: from then on the journal names every change, and
            // the readings after this one look only at those files.
            if (const auto reader = worker.lock())
                reader->warmUp();
        });
    }

    // Reads the folder from the settings again, on the watcher's thread.
    void retarget() {
        if (!watcherHome)
            return;
        QMetaObject::invokeMethod(watcherHome, [home = watcherHome] {
            if (auto* watcher = home->findChild<Platform::AddressBookWatcher*>())
                watcher->retarget();
        });
    }

    // Reads the book ahead of the next opening, outside any session.
    void readAhead() {
        if (worker)
            worker->warmUp();
    }

    void stopWatching() {
        if (!watcherHome)
            return;
        // Deleted on its own thread, after whatever was queued there; then the thread ends.
        QMetaObject::invokeMethod(watcherHome, [home = watcherHome, thread = &watcherThread] {
            delete home;
            thread->quit();
        });
        watcherHome = nullptr;
        watcherThread.wait();
    }
};

LiveRuntime::LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, Windows windows, Options options,
                         QObject* parent)
    : LiveRuntime(std::move(defaults), std::make_unique<Live>(), std::nullopt, std::move(windows),
                  std::move(options), parent) {}

LiveRuntime::LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, Services services, Windows windows,
                         Options options, QObject* parent)
    : LiveRuntime(std::move(defaults), nullptr, std::move(services), std::move(windows), std::move(options),
                  parent) {}

LiveRuntime::LiveRuntime(std::shared_ptr<Platform::UserDefaults> defaults, std::unique_ptr<Live> live,
                         std::optional<Services> services, Windows windows, Options options, QObject* parent)
    : QObject(parent), windows_(std::move(windows)), launch_(std::move(options.launch)) {
    assertMainThread();
    // The event reader before anything that listens to it.
    desktop_ = std::make_unique<LiveDesktop>();
    statusItem_ = std::make_unique<Platform::TrayIcon>(QStringLiteral("Dialcove"), &desktop_->windowSystem());
    defaults_ = std::move(defaults);
    const QDBusConnection sessionBus = options.sessionBus.value_or(QDBusConnection::sessionBus());
    hotkey_ = desktop_->makeHotKey(sessionBus);
    hotkey_->installHandler();

    live_ = std::move(live);
    if (live_)
        LinuxStrings::setAddressBook(live_->access.book());
    if (!services) {
        auto workspace = std::make_shared<SystemWorkspace>(
            [book = live_->access.book()](const DialcoveCore::ContactID& id) { return book.cardFile(id); });
        live_->worker = std::make_shared<ContactsWorker>(live_->access.book());
        services = Services{std::make_shared<ContactSettings>(defaults_), live_->worker,
                            std::make_shared<ContactsPermissionAdapter>(live_->access),
                            std::make_shared<ContactOutputAdapter>(std::move(workspace)),
                            std::make_shared<LocalRecentStorage>(defaults_)};
    }
    panel_ = makePanel(services->settings, services->worker, services->permission, services->output,
                       services->recentStorage);
    shortcutLifecycle_ =
        std::make_unique<ShortcutLifecycle>(panel_->keyboard(), panel_->settings(), *hotkey_);
    wake_ = options.wakeBus ? std::make_unique<Platform::WakeWatcher>(*options.wakeBus)
                            : std::make_unique<Platform::WakeWatcher>();
    // Without a tray the texts name what opens the panel then.
    trayPresence_ = std::make_unique<Platform::TrayPresence>(
        [desktop = desktop_.get()] { return desktop->windowSystem().systemTrayRunning(); },
        sessionBus);
    panel_->routes().setTrayAvailable(trayPresence_->isAvailable());
    connect(trayPresence_.get(), &Platform::TrayPresence::availableChanged, this,
            [this](bool available) { panel_->routes().setTrayAvailable(available); });
    colorScheme_ = std::make_unique<Platform::DesktopColorScheme>(sessionBus);

    const QPointer<LiveRuntime> self(this);
    panel_->onClose = [self] {
        if (self && self->searchPanel_)
            self->searchPanel_->dismiss();
    };
    panel_->actions().onUnavailable = [] { QApplication::beep(); };
    panel_->settings().setOnChange([self] {
        if (!self)
            return;
        if (self->shortcutLifecycle_)
            self->shortcutLifecycle_->apply();
        self->updateStatusIcon();
    });
    followHotKeyHolder();
    connect(hotkey_.get(), &GlobalShortcut::holderChanged, this, &LiveRuntime::followHotKeyHolder);
    hotkey_->setPressed([self] {
        if (self)
            self->hotKeyPressed();
    });
    connect(statusItem_.get(), &Platform::TrayIcon::clicked, this, [this] { togglePanel(true); });
    // The icon's menu holds the footer's buttons, doing what they do.
    statusItem_->addMenuEntry(QCoreApplication::translate("PanelFooter", "Preferences"), [self] {
        if (self)
            self->openPreferences();
    });
    statusItem_->addMenuEntry(QCoreApplication::translate("PanelFooter", "Getting Started"), [self] {
        if (self)
            self->openWelcome();
    });
    statusItem_->addMenuEntry(QCoreApplication::translate("PanelFooter", "Quit"),
                              &LiveRuntime::quitApplication);
}

LiveRuntime::~LiveRuntime() {
    // Hooks stored in the graph hold the runtime weakly; the window goes before the graph it shows.
    searchPanel_.reset();
    if (live_)
        LinuxStrings::setAddressBook(std::nullopt);
}

bool LiveRuntime::isWatchingActivation() const {
    return desktop_->isWatching();
}

int LiveRuntime::displayListeners() const {
    return desktop_->displayListeners();
}

bool LiveRuntime::isWatchingWake() const {
    return wake_ != nullptr && wake_->isWatching();
}

void LiveRuntime::start() {
    assertMainThread();
    if (started_) {
        qCWarning(lcRuntime) << "the runtime was started twice";
        return;
    }
    started_ = true;

    shortcutLifecycle_->apply();
    updateStatusIcon();
    statusItem_->show();
    qApp->installEventFilter(this);

    // What the icon shows follows the copy feedback, the access and the hot key's conflict; a
    // burst of changes redraws it once, on the next turn.
    observers_.push_back(
        connect(&panel_->actions(), &ContactActions::copiedChanged, this, &LiveRuntime::statusInputChanged));
    observers_.push_back(connect(&panel_->session(), &ContactSession::authorizationChanged, this,
                                 &LiveRuntime::statusInputChanged));
    observers_.push_back(connect(&panel_->keyboard(), &PanelKeyboard::shortcutConflictChanged, this,
                                 &LiveRuntime::statusInputChanged));

    if (live_) {
        live_->startWatching(this);
        observers_.push_back(connect(&live_->access, &Platform::AddressBookAccess::accessChanged, this,
                                     &LiveRuntime::accessChanged));
        // The panel that opened a dialog gets the keyboard back as it closes.
        observers_.push_back(
            connect(&live_->access, &Platform::AddressBookAccess::dialogClosing, this, [this] {
                if (searchPanel_)
                    searchPanel_->reclaimFocus();
            }));
    }
    desktop_->watchActivation();
    observers_.push_back(
        connect(desktop_.get(), &LiveDesktop::applicationActivated, this, &LiveRuntime::refresh));
    observers_.push_back(connect(wake_.get(), &Platform::WakeWatcher::woke, this, &LiveRuntime::refresh));
    observers_.push_back(connect(colorScheme_.get(), &Platform::DesktopColorScheme::schemeChanged, this,
                                 &LiveRuntime::updateStatusIcon));

    // The program's start is over now: the welcome window takes its focus and ends it once shown;
    // a start that settles in the tray alone ends it here.
    const Platform::WindowSystem::Activation launch = std::exchange(launch_, {});
    if (!defaults_->boolValue(QString::fromLatin1(hasSeenWelcomeKey)) ||
        panel_->session().authorization() != ContactPermission::allowed)
        openWelcome(launch);
    else
        desktop_->endStartup(launch);

    if (MurvelUI::UpdateNotifier* notifier = appUpdateNotifier())
        notifier->refresh();

    startupTask_ = startTask(&LiveRuntime::refreshBody, QPointer(this));
}

void LiveRuntime::stop() {
    assertMainThread();
    if (stopped_)
        return;
    stopped_ = true;

    if (startupTask_)
        startupTask_->cancel();
    if (refreshTask_)
        refreshTask_->cancel();
    panel_->close();
    if (hotkey_ && hotkey_->hasRegistration())
        hotkey_->unregisterShortcut();
    if (hotkey_ && hotkey_->hasHandler())
        hotkey_->removeHandler();
    for (const QMetaObject::Connection& observer : observers_)
        disconnect(observer);
    observers_.clear();
    desktop_->stopWatching();
    if (live_)
        live_->stopWatching();
    qApp->removeEventFilter(this);
    trayPresence_.reset();
    if (statusItem_) {
        statusItem_->hide();
        statusItem_.reset();
    }
    shownStatus_.reset();
    // Nothing of the runtime follows the display from here; the process is ending.
    searchPanel_.reset();
    shortcutLifecycle_.reset();
    hotkey_.reset();
    desktop_->releaseWindows();
}

void LiveRuntime::togglePanel(bool trayClick, const Platform::WindowSystem::Activation& activation) {
    assertMainThread();
    // A start that closes the panel, or comes too late, shows nothing; the launcher still waits.
    if (panel_->session().phase() != PanelPhase::closed) {
        panel_->close();
        desktop_->endStartup(activation);
        return;
    }
    if (stopped_) {
        desktop_->endStartup(activation);
        return;
    }
    if (!searchPanel_) {
        const QPointer<LiveRuntime> self(this);
        searchPanel_ = desktop_->makeSearchPanel(
            *panel_,
            [self] {
                if (self)
                    self->openPreferences();
            },
            [self] {
                if (self)
                    self->openWelcome();
            });
        searchPanel_->view()->chrome()->footer()->setQuitAction(&LiveRuntime::quitApplication);
    }
    // Without a tray, or a tray that does not say where the icon is, the anchor falls back to the
    // click, the last tray anchor or the top of the screen: the panel always opens.
    const QRect trayGeometry = statusItem_ ? statusItem_->geometry() : QRect();
    const Platform::PanelAnchor::Choice anchor = anchor_.resolve(trayGeometry, trayClick);
    searchPanel_->show(anchor.rect, anchor.trayArea, activation);
}

void LiveRuntime::hotKeyPressed() {
    assertMainThread();
    // While a shortcut is recorded its keys are the recording's, not a toggle.
    if (shortcutLifecycle_ && !shortcutLifecycle_->keyboard().recordingShortcut())
        togglePanel(false);
}

void LiveRuntime::secondStart(const Platform::WindowSystem::Activation& activation) {
    assertMainThread();
    // A recording ends with the panel; the start was meant as a toggle, never as a key.
    togglePanel(false, activation);
}

void LiveRuntime::refresh() {
    assertMainThread();
    if (live_)
        LinuxStrings::addressBookChanged();
    panel_->refresh();
    if (refreshTask_)
        refreshTask_->cancel();
    refreshTask_ = startTask(&LiveRuntime::refreshBody, QPointer(this));
}

QCoro::Task<> LiveRuntime::refreshBody(CancellationToken token, QPointer<LiveRuntime> self) {
    if (!token.isCancelled() && self)
        self->panel_->refresh();
    co_return;
}

void LiveRuntime::followHotKeyHolder() {
    if (!hotkey_)
        return;
    using Holder = Platform::HotKeyRegistrar::Holder;
    using Route = DesktopRoutes::HotKeyRoute;
    DesktopRoutes& routes = panel_->routes();
    switch (hotkey_->holder()) {
    case Holder::program:
        routes.setHotKeyRoute(Route::keyGrab);
        break;
    case Holder::portal:
        routes.setHotKeyRoute(Route::portal);
        break;
    case Holder::nobody:
        // A portal that went: the desktop's shortcut running a second start is the way in now.
        routes.setHotKeyRoute(Route::desktopSettings);
        break;
    }
    routes.setPortalTrigger(hotkey_->trigger());
}

void LiveRuntime::storeChanged() {
    if (stopped_)
        return;
    if (live_) {
        // The folder may have come or gone: what the access texts say follows it.
        live_->access.refresh();
        LinuxStrings::addressBookChanged();
    }
    panel_->refresh();
    panel_->contactsDidChange();
    // While the panel is closed, the change is read now rather than at the next opening.
    if (live_ && panel_->session().phase() == PanelPhase::closed)
        live_->readAhead();
}

void LiveRuntime::accessChanged() {
    // The folder may have moved: watch the new one before reading it.
    live_->retarget();
    storeChanged();
}

void LiveRuntime::statusInputChanged() {
    if (statusInputPending_)
        return;
    statusInputPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            statusInputPending_ = false;
            updateStatusIcon();
        },
        Qt::QueuedConnection);
}

void LiveRuntime::updateStatusIcon() {
    assertMainThread();
    if (!statusItem_ || !started_)
        return;
    const DialcoveCore::MenuStatus status = panel_->menuStatus();
    const QIcon drawn =
        statusIcon(status, StatusIconArt::colour(colorScheme_->scheme(), QApplication::palette()));
    // A tray host draws the installed symbolic icon itself, in its panel's colour.
    const QString themeName = StatusIconArt::themeName(status);
    const std::optional<Platform::AppInstallation>& installed = Platform::AppInstallation::ofRunningProgram();
    const bool byName = installed && installed->hasThemeIcon(QStringLiteral("status"), themeName);
    statusItem_->setIcon(drawn, byName ? themeName : QString());
    shownStatus_ = status;
}

bool LiveRuntime::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        updateStatusIcon();
    return QObject::eventFilter(watched, event);
}

void LiveRuntime::openPreferences() {
    assertMainThread();
    panel_->close();
    if (!windows_.showPreferences) {
        static bool logged = false;
        if (!std::exchange(logged, true))
            qCInfo(lcRuntime) << "no preferences window in this build";
        return;
    }
    windows_.showPreferences(panel_->settings());
}

void LiveRuntime::openWelcome(const Platform::WindowSystem::Activation& activation) {
    assertMainThread();
    panel_->close();
    if (!windows_.showWelcome) {
        static bool logged = false;
        if (!std::exchange(logged, true))
            qCInfo(lcRuntime) << "no welcome window in this build";
        desktop_->endStartup(activation);
        return;
    }
    const QPointer<LiveRuntime> self(this);
    windows_.showWelcome(
        *panel_,
        [self, close = windows_.closeWelcome] {
            if (self)
                self->defaults_->setBool(QString::fromLatin1(hasSeenWelcomeKey), true);
            if (close)
                close();
        },
        [self, activation](QWindow& window) {
            if (self)
                self->desktop_->activateWith(window, activation);
        });
}

void LiveRuntime::quitApplication() {
    QCoreApplication::exit(0);
}

QString LiveRuntime::statusSymbol(DialcoveCore::MenuStatus status) {
    return QString::fromStdString(DialcoveCore::symbolName(iconBaseName, status));
}

QIcon LiveRuntime::statusIcon(DialcoveCore::MenuStatus status, const QColor& color) {
    const QString name = statusSymbol(status);
    QIcon icon;
    for (const int size : iconSizes) {
        const QImage image = MurvelUI::MurvelSymbols::image(name, size, color);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace Dialcove
