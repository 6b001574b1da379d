#include "Dialcove/LiveDesktop.hpp"

#include "Dialcove/GlobalShortcut.hpp"
#include "Dialcove/MainThread.hpp"
#include "Platform/X11/X11ActiveWindowWatcher.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"

namespace Dialcove {

namespace {

// The event reader, counting who listens to it.
struct CountedHub final : Platform::X11EventHub {
    int listeners() const {
        return receivers(SIGNAL(keyPressed(quint8, quint16, quint32))) +
               receivers(SIGNAL(keyReleased(quint8, quint16, quint32))) +
               receivers(SIGNAL(rawButtonPressed(quint32))) + receivers(SIGNAL(keymapChanged())) +
               receivers(SIGNAL(rootPropertyChanged(quint32)));
    }
};

} // namespace

struct LiveDesktop::Backend {
    CountedHub hub;
    // The keymap as the panel windows read it; made with the first window.
    std::unique_ptr<Platform::X11KeyTranslation> keys;
    std::unique_ptr<Platform::X11ActiveWindowWatcher> activation;
};

LiveDesktop::LiveDesktop(QObject* parent) : QObject(parent), backend_(std::make_unique<Backend>()) {
    assertMainThread();
}

LiveDesktop::~LiveDesktop() = default;

std::unique_ptr<GlobalShortcut> LiveDesktop::makeHotKey() {
    return std::make_unique<GlobalShortcut>(backend_->hub);
}

std::unique_ptr<SearchPanel> LiveDesktop::makeSearchPanel(ContactsPanel& panel,
                                                          std::function<void()> showPreferences,
                                                          std::function<void()> showWelcome,
                                                          const SearchPanel::ContentFactory& content) {
    if (!backend_->keys)
        backend_->keys = std::make_unique<Platform::X11KeyTranslation>(backend_->hub);
    return std::make_unique<SearchPanel>(backend_->hub, *backend_->keys, panel, std::move(showPreferences),
                                         std::move(showWelcome), content);
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
    return backend_->hub.listeners();
}

} // namespace Dialcove
