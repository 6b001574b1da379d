#include "Dialcove/Shell/LiveDesktop.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Shell/GlobalShortcut.hpp"
#include "Platform/Desktop/GlobalShortcutsPortal.hpp"
#include "Platform/X11/X11ActiveWindowWatcher.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"

#include <QPointer>
#include <vector>

namespace Dialcove {

struct LiveDesktop::Backend {
    Platform::X11EventHub hub;
    // The keymap as the panel windows read it; made with the first window.
    std::unique_ptr<Platform::X11KeyTranslation> keys;
    std::unique_ptr<Platform::X11ActiveWindowWatcher> activation;
    // What was handed out over the hub; each listens to it until it goes.
    std::vector<QPointer<QObject>> madeOverHub;
};

LiveDesktop::LiveDesktop(QObject* parent) : QObject(parent), backend_(std::make_unique<Backend>()) {
    assertMainThread();
}

LiveDesktop::~LiveDesktop() = default;

const Platform::WindowSystem& LiveDesktop::windowSystem() const {
    return backend_->hub;
}

std::unique_ptr<GlobalShortcut> LiveDesktop::makeHotKey(const QDBusConnection& sessionBus) {
    std::unique_ptr<GlobalShortcut> hotkey;
    // Under XWayland a key grab hears only the keys typed into X windows.
    if (backend_->hub.panelMode() == Platform::WindowSystem::PanelMode::managed) {
        if (!backend_->keys)
            backend_->keys = std::make_unique<Platform::X11KeyTranslation>(backend_->hub);
        hotkey = std::make_unique<GlobalShortcut>(std::make_unique<Platform::GlobalShortcutsPortal>(
            sessionBus, *backend_->keys, [](std::uint32_t keyCode, DialcoveCore::ShortcutModifiers modifiers) {
                return Platform::GlobalShortcutsPortal::preferredTrigger(
                    modifiers, Platform::X11KeyTranslation::keysymName(keyCode));
            }));
    } else {
        hotkey = std::make_unique<GlobalShortcut>(backend_->hub);
    }
    backend_->madeOverHub.emplace_back(hotkey.get());
    return hotkey;
}

std::unique_ptr<SearchPanel> LiveDesktop::makeSearchPanel(ContactsPanel& panel,
                                                          std::function<void()> showPreferences,
                                                          std::function<void()> showWelcome) {
    if (!backend_->keys)
        backend_->keys = std::make_unique<Platform::X11KeyTranslation>(backend_->hub);
    auto window = std::make_unique<SearchPanel>(backend_->hub, *backend_->keys, panel,
                                                std::move(showPreferences), std::move(showWelcome));
    backend_->madeOverHub.emplace_back(window.get());
    return window;
}

void LiveDesktop::watchActivation() {
    assertMainThread();
    if (backend_->activation)
        return;
    backend_->activation = std::make_unique<Platform::X11ActiveWindowWatcher>(backend_->hub);
    connect(backend_->activation.get(), &Platform::X11ActiveWindowWatcher::activeWindowChanged, this,
            &LiveDesktop::applicationActivated);
}

void LiveDesktop::stopWatching() {
    assertMainThread();
    backend_->activation.reset();
}

bool LiveDesktop::isWatching() const {
    return backend_->activation != nullptr;
}

void LiveDesktop::releaseWindows() {
    assertMainThread();
    backend_->keys.reset();
}

int LiveDesktop::displayListeners() const {
    int listeners = (backend_->keys ? 1 : 0) + (backend_->activation ? 1 : 0);
    for (const QPointer<QObject>& made : backend_->madeOverHub)
        listeners += made ? 1 : 0;
    return listeners;
}

} // namespace Dialcove
