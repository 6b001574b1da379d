#pragma once

#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Async/WeakHook.hpp"
#include "Dialcove/Services/ContactActions.hpp"
#include "Dialcove/Services/ContactNavigation.hpp"
#include "Dialcove/Services/ContactOutputService.hpp"
#include "Dialcove/Services/ContactPermissionService.hpp"
#include "Dialcove/Services/ContactRecentStorage.hpp"
#include "Dialcove/Services/ContactRecents.hpp"
#include "Dialcove/Services/ContactSearch.hpp"
#include "Dialcove/Services/ContactSession.hpp"
#include "Dialcove/Services/ContactSessionService.hpp"
#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/DesktopRoutes.hpp"
#include "Dialcove/Services/PanelKeyboard.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "DialcoveCore/MenuStatus.hpp"
#include "DialcoveCore/NavigationState.hpp"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

namespace Dialcove {

class ContactsPanel;

// The panel's object graph over its five services, every hook between its objects holding its
// target weakly: the session's access check refreshes the panel, a move of the selection cancels the
// running action, opening a contact cancels the running search, and a finished action closes the
// panel. The caller sets the panel's onClose, the actions' onUnavailable and the settings' change
// handler. `sleep` is how the copied feedback waits (a precise timer when none).
std::unique_ptr<ContactsPanel>
makePanel(std::shared_ptr<ContactSettings> settings, std::shared_ptr<ContactSessionService> worker,
          std::shared_ptr<ContactPermissionService> permission, std::shared_ptr<ContactOutputService> output,
          std::shared_ptr<ContactRecentStorage> recentStorage, ContactActions::Sleep sleep = {});

// Drives the panel's life: opening, loading every contact (restoring the one that was open),
// following the permission, reloading after the address book changed, going back and closing, and
// asking for access. Apart from the moves that search and navigation make, it is the one place that
// sets the session's phase. It owns the load and the access-request tasks; both hold it weakly.
// Main thread only; no operation reports an error.
class ContactsPanel final : public QObject {
    Q_OBJECT

public:
    ~ContactsPanel() override;

    ContactSettings& settings() const { return *settings_; }
    ContactSession& session() const { return *session_; }
    ContactNavigation& navigation() const { return *navigation_; }
    ContactActions& actions() const { return *actions_; }
    ContactSearch& search() const { return *search_; }
    PanelKeyboard& keyboard() const { return *keyboard_; }
    // How this desktop lets the user open the panel; the app keeps it true.
    DesktopRoutes& routes() const { return *routes_; }
    ContactRecents& recents() const { return *recents_; }

    // Runs at the end of every close; the app hides the panel window here.
    std::function<void()> onClose = noHook();

    const std::optional<TaskHandle>& loadTask() const { return loadTask_; }
    const std::optional<TaskHandle>& permissionTask() const { return permissionTask_; }

    // From the closed phase only: empties the query and navigation, then loads.
    void open();
    // Stops running work and loads every contact into a new worker session, then lists the current
    // query and reopens `restore` when it still exists; without access, shows the permission phase.
    void load(const std::optional<DialcoveCore::ContactID>& restore = std::nullopt);
    // Reads the permission again: access regained leaves the permission phase by loading, access
    // lost stops the work and shows the permission phase. Changes nothing else while closed.
    void refresh();
    // After the address book changed: reloads an open panel, keeping the open contact; refreshes a
    // closed one.
    void contactsDidChange();
    // Ends the session, cancels all work, empties query, navigation and keyboard state, then onClose.
    void close();
    // Stops a shortcut recording; else returns from a contact to the list; else closes.
    void goBack();
    // Denied: shows the access settings (externalFailure when they cannot be shown). Unknown: asks
    // for access, then refreshes.
    void requestPermission();
    // What the status icon shows now; menuStatusChanged tells when that changes.
    DialcoveCore::MenuStatus menuStatus() const;
    // Finishes once the load, search, action and access-request tasks have, each read only after the
    // one before it finished, so work started meanwhile is waited for too.
    QCoro::Task<> waitUntilIdle();
    // Ends the session and cancels running work; the phase and navigation's state stay.
    void stopWork();

signals:
    void menuStatusChanged();
    void loadTaskChanged();
    void permissionTaskChanged();

private:
    friend std::unique_ptr<ContactsPanel>
        makePanel(std::shared_ptr<ContactSettings>, std::shared_ptr<ContactSessionService>,
                  std::shared_ptr<ContactPermissionService>, std::shared_ptr<ContactOutputService>,
                  std::shared_ptr<ContactRecentStorage>, ContactActions::Sleep);

    // What a load carries into its task.
    struct LoadRun {
        ContactSession::LoadStart start;
        std::optional<DialcoveCore::ContactID> restore;
        DialcoveCore::NavigationState earlier;
    };

    ContactsPanel(std::shared_ptr<ContactSettings> settings, std::shared_ptr<ContactSessionService> worker,
                  std::shared_ptr<ContactPermissionService> permission,
                  std::shared_ptr<ContactOutputService> output,
                  std::shared_ptr<ContactRecentStorage> recentStorage, ContactActions::Sleep sleep);

    static QCoro::Task<> runLoad(CancellationToken token, QPointer<ContactsPanel> self, LoadRun run);
    static QCoro::Task<> runPermissionRequest(CancellationToken token, QPointer<ContactsPanel> self);
    static QCoro::Task<> waitUntilIdleOf(QPointer<ContactsPanel> self);

    bool accessAllowed() const;
    // The failure of a load or of its first search, when it still counts.
    void loadFailed(const CancellationToken& token, const ContactSession::LoadStart& start,
                    const QString& error);
    // Cancels the running action and clears the failure it may have left.
    void dropAction();
    void setLoadTask(std::optional<TaskHandle> task);
    void setPermissionTask(std::optional<TaskHandle> task);
    // Emits menuStatusChanged when one of its inputs moved it.
    void followMenuStatus();

    // Declared in the order of building; they go in the reverse order.
    const std::shared_ptr<ContactSettings> settings_;
    std::unique_ptr<ContactRecents> recents_;
    std::unique_ptr<ContactSession> session_;
    std::unique_ptr<ContactNavigation> navigation_;
    std::unique_ptr<ContactActions> actions_;
    std::unique_ptr<ContactSearch> search_;
    std::unique_ptr<PanelKeyboard> keyboard_;
    std::unique_ptr<DesktopRoutes> routes_;
    std::optional<TaskHandle> loadTask_;
    std::optional<TaskHandle> permissionTask_;
    DialcoveCore::MenuStatus lastMenuStatus_ = DialcoveCore::MenuStatus::ready;
};

} // namespace Dialcove
