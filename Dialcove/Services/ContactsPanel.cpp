#include "Dialcove/Services/ContactsPanel.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "Dialcove/Services/FailureText.hpp"
#include "DialcoveCore/ShortcutRegistration.hpp"

#include <QLoggingCategory>
#include <chrono>
#include <qcoro/qcorofuture.h>

using DialcoveCore::Contact;
using DialcoveCore::ContactID;
using DialcoveCore::NavigationState;

namespace Dialcove {

std::unique_ptr<ContactsPanel>
makePanel(std::shared_ptr<ContactSettings> settings, std::shared_ptr<ContactSessionService> worker,
          std::shared_ptr<ContactPermissionService> permission, std::shared_ptr<ContactOutputService> output,
          std::shared_ptr<ContactRecentStorage> recentStorage, ContactActions::Sleep sleep) {
    std::unique_ptr<ContactsPanel> panel(new ContactsPanel(std::move(settings), std::move(worker),
                                                           std::move(permission), std::move(output),
                                                           std::move(recentStorage), std::move(sleep)));
    panel->session_->onAccessCheck = weakHook(panel.get(), &ContactsPanel::refresh);
    panel->navigation_->onMove = weakHook(panel->actions_.get(), &ContactActions::cancel);
    panel->navigation_->onOpen = weakHook(panel->search_.get(), &ContactSearch::cancelTask);
    panel->actions_->onFinished = weakHook(panel.get(), &ContactsPanel::close);
    return panel;
}

ContactsPanel::ContactsPanel(std::shared_ptr<ContactSettings> settings,
                             std::shared_ptr<ContactSessionService> worker,
                             std::shared_ptr<ContactPermissionService> permission,
                             std::shared_ptr<ContactOutputService> output,
                             std::shared_ptr<ContactRecentStorage> recentStorage, ContactActions::Sleep sleep)
    : settings_(std::move(settings)), recents_(std::make_unique<ContactRecents>(std::move(recentStorage))),
      session_(std::make_unique<ContactSession>(std::move(worker), std::move(permission))),
      navigation_(std::make_unique<ContactNavigation>(*session_, *settings_, *recents_)),
      actions_(std::make_unique<ContactActions>(*session_, *navigation_, *settings_, std::move(output),
                                                *recents_, std::move(sleep))),
      search_(std::make_unique<ContactSearch>(*session_, *navigation_, *actions_, *recents_)),
      keyboard_(std::make_unique<PanelKeyboard>()), routes_(std::make_unique<DesktopRoutes>()) {
    assertMainThread();
    lastMenuStatus_ = menuStatus();
    connect(settings_.get(), &ContactSettings::valuesChanged, this, &ContactsPanel::followMenuStatus);
    connect(session_.get(), &ContactSession::authorizationChanged, this, &ContactsPanel::followMenuStatus);
    connect(keyboard_.get(), &PanelKeyboard::shortcutConflictChanged, this, &ContactsPanel::followMenuStatus);
    connect(actions_.get(), &ContactActions::copiedChanged, this, &ContactsPanel::followMenuStatus);
}

void ContactsPanel::followMenuStatus() {
    const DialcoveCore::MenuStatus status = menuStatus();
    if (status == lastMenuStatus_)
        return;
    lastMenuStatus_ = status;
    emit menuStatusChanged();
}

ContactsPanel::~ContactsPanel() {
    // A load still reading the address book stops at its next contact; nothing waits for the rest.
    if (loadTask_)
        loadTask_->cancel();
    if (permissionTask_)
        permissionTask_->cancel();
    search_->cancelTask();
    actions_->cancel();
}

void ContactsPanel::setLoadTask(std::optional<TaskHandle> task) {
    updateProperty(loadTask_, std::move(task), [this] { emit loadTaskChanged(); });
}

void ContactsPanel::setPermissionTask(std::optional<TaskHandle> task) {
    updateProperty(permissionTask_, std::move(task), [this] { emit permissionTaskChanged(); });
}

bool ContactsPanel::accessAllowed() const {
    return session_->permission()->status() == ContactPermission::allowed;
}

void ContactsPanel::dropAction() {
    actions_->cancel();
    actions_->clearTask();
    actions_->setExternalFailure(false);
}

void ContactsPanel::stopWork() {
    assertMainThread();
    session_->reset();
    if (loadTask_)
        loadTask_->cancel();
    search_->cancelTask();
    dropAction();
    if (permissionTask_)
        permissionTask_->cancel();
    navigation_->reset();
}

void ContactsPanel::open() {
    assertMainThread();
    if (session_->phase() != PanelPhase::closed)
        return;
    search_->cancelTask();
    search_->clearQuery();
    navigation_->reset();
    navigation_->setState({});
    load();
}

void ContactsPanel::load(const std::optional<ContactID>& restore) {
    assertMainThread();
    const NavigationState earlier = navigation_->state();
    stopWork();
    session_->setAuthorization(session_->permission()->status());
    if (session_->authorization() != ContactPermission::allowed) {
        session_->setPhase(PanelPhase::permission);
        return;
    }
    auto start = session_->beginLoad();
    if (!start)
        return;
    session_->setPhase(PanelPhase::loading);
    setLoadTask(
        startTask(&ContactsPanel::runLoad, QPointer(this), LoadRun{std::move(*start), restore, earlier}));
}

QCoro::Task<> ContactsPanel::runLoad(CancellationToken token, QPointer<ContactsPanel> self, LoadRun run) {
    if (!self)
        co_return;
    const DialcoveCore::SessionID& session = run.start.session;
    // Kept by the frame: the worker is asked again after each wait.
    const std::shared_ptr<ContactSessionService> worker = self->session_->worker();

    auto loading = worker->load(session, token);
    std::exception_ptr failure;
    try {
        co_await loading;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self)
        co_return;
    if (failure) {
        self->loadFailed(token, run.start, failureText(failure));
        co_return;
    }
    if (!self->session_->isCurrentLoad(session, token))
        co_return;
    if (!self->accessAllowed()) {
        self->refresh();
        co_return;
    }
    if (!self->session_->finishLoad(run.start.ticket, true))
        co_return;
    self->session_->setPhase(PanelPhase::list);

    // The first search takes the search's own road. The query may have been typed while the load ran.
    const ContactSearch::Run first{session, self->search_->query(), self->session_->revision(), std::nullopt,
                                   self->navigation_->state().selectedContactID};
    const ContactSearch::Outcome outcome =
        co_await ContactSearch::answer(token, QPointer(self->search_.get()), first);
    if (!self)
        co_return;
    if (outcome.kind == ContactSearch::Outcome::Kind::failed) {
        self->loadFailed(token, run.start, outcome.failure); // a failed first search is a failed load
        co_return;
    }
    if (outcome.kind != ContactSearch::Outcome::Kind::shown || !run.restore)
        co_return;

    auto lookingUp = worker->contact(session, *run.restore, token);
    std::optional<Contact> contact;
    try {
        contact = co_await lookingUp;
    } catch (...) {
        // The worker gives none rather than fail; a cancelled call may still end here.
    }
    if (!self || !self->session_->isCurrentQuery(session, first.revision, std::nullopt, token))
        co_return;
    if (!self->accessAllowed()) {
        self->refresh();
        co_return;
    }
    if (contact)
        self->navigation_->showContact(*contact, run.earlier);
}

void ContactsPanel::loadFailed(const CancellationToken& token, const ContactSession::LoadStart& start,
                               const QString& error) {
    if (!session_->isCurrentLoad(start.session, token))
        return;
    if (!accessAllowed()) {
        refresh();
        return;
    }
    qCWarning(lcPanel) << "reading the contacts failed:" << error;
    session_->finishLoad(start.ticket, false);
    navigation_->reset();
    session_->setPhase(PanelPhase::failure);
}

void ContactsPanel::refresh() {
    assertMainThread();
    session_->refreshAuthorization();
    if (session_->phase() == PanelPhase::closed)
        return;
    if (session_->authorization() == ContactPermission::allowed) {
        if (session_->phase() == PanelPhase::permission)
            load();
        return;
    }
    stopWork();
    session_->setPhase(PanelPhase::permission);
}

void ContactsPanel::contactsDidChange() {
    assertMainThread();
    if (session_->phase() == PanelPhase::closed) {
        refresh();
        return;
    }
    const auto& open = navigation_->contact();
    load(open ? std::optional(open->id()) : std::nullopt);
}

void ContactsPanel::close() {
    assertMainThread();
    session_->reset();
    session_->setPhase(PanelPhase::closed);
    if (loadTask_)
        loadTask_->cancel();
    if (permissionTask_)
        permissionTask_->cancel();
    setLoadTask(std::nullopt);
    setPermissionTask(std::nullopt);
    search_->cancelTask();
    search_->clearQuery();
    dropAction();
    navigation_->reset();
    navigation_->setState({});
    keyboard_->reset();
    onClose();
}

void ContactsPanel::goBack() {
    assertMainThread();
    if (keyboard_->recordingShortcut()) {
        keyboard_->setRecordingShortcut(false);
        return;
    }
    if (session_->phase() != PanelPhase::detail) {
        close();
        return;
    }
    actions_->cancel();
    actions_->setExternalFailure(false);
    navigation_->backToList();
    search_->update(search_->query());
}

void ContactsPanel::requestPermission() {
    assertMainThread();
    switch (session_->authorization()) {
    case ContactPermission::denied:
        actions_->setExternalFailure(!session_->permission()->openSettings());
        break;
    case ContactPermission::unknown:
        if (permissionTask_)
            permissionTask_->cancel();
        setPermissionTask(startTask(&ContactsPanel::runPermissionRequest, QPointer(this)));
        break;
    case ContactPermission::restricted:
    case ContactPermission::allowed:
        break;
    }
}

QCoro::Task<> ContactsPanel::runPermissionRequest(CancellationToken token, QPointer<ContactsPanel> self) {
    if (!self)
        co_return;
    auto asking = self->session_->permission()->request();
    try {
        co_await asking;
    } catch (...) {
        // The refresh below shows whatever the status now is.
    }
    if (self && !token.isCancelled())
        self->refresh();
}

DialcoveCore::MenuStatus ContactsPanel::menuStatus() const {
    assertMainThread();
    using DialcoveCore::ShortcutRegistration;
    const auto now = std::chrono::steady_clock::now();
    const bool enabled = settings_->values().enabled;
    const ShortcutRegistration registration = keyboard_->shortcutConflict() ? ShortcutRegistration::conflict
                                              : enabled                     ? ShortcutRegistration::registered
                                                                            : ShortcutRegistration::disabled;
    const auto copiedUntil = actions_->copied() ? std::optional(now + std::chrono::seconds(1)) : std::nullopt;
    return DialcoveCore::deriveMenuStatus(enabled, session_->authorization() == ContactPermission::allowed,
                                          registration, copiedUntil, now);
}

QCoro::Task<> ContactsPanel::waitUntilIdle() {
    return waitUntilIdleOf(QPointer(this));
}

QCoro::Task<> ContactsPanel::waitUntilIdleOf(QPointer<ContactsPanel> self) {
    // Each task is read only once the one before it has finished: a search or an action started
    // while the load ran is waited for too.
    if (self && self->loadTask_) {
        auto done = self->loadTask_->completion();
        co_await done;
    }
    if (self && self->search_->task()) {
        auto done = self->search_->task()->completion();
        co_await done;
    }
    if (self && self->actions_->task()) {
        auto done = self->actions_->task()->completion();
        co_await done;
    }
    if (self && self->permissionTask_) {
        auto done = self->permissionTask_->completion();
        co_await done;
    }
}

} // namespace Dialcove
