#pragma once

#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Async/WeakHook.hpp"
#include "Dialcove/Services/ContactOutputService.hpp"
#include "DialcoveCore/ActionTicket.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/RevisionID.hpp"
#include "DialcoveCore/SessionID.hpp"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Dialcove {

class ContactNavigation;
class ContactRecents;
class ContactSession;
class ContactSettings;

// Runs what the user asks to do with a contact: copy a number or address, open a chat, a message,
// a call or an e-mail, or show the contact's card. One action at a time, each in a main-thread task
// under a fresh attempt identifier; a result counts only while its attempt is the active one and the
// session is still current, so an action overtaken by a new query, a move, going back or closing
// changes nothing. Outcomes are the three flags and the two hooks. Main thread only; the session,
// navigation, settings and recents outlive it.
class ContactActions final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool inProgress READ inProgress NOTIFY inProgressChanged)
    Q_PROPERTY(
        bool externalFailure READ externalFailure WRITE setExternalFailure NOTIFY externalFailureChanged)
    Q_PROPERTY(bool copied READ copied NOTIFY copiedChanged)

public:
    // A future that finishes once `delay` has passed on the monotonic clock: how the copied feedback
    // waits. Tests give their own, to decide when it ends.
    using Sleep = std::function<QFuture<void>(std::chrono::milliseconds delay)>;

    // Without `sleep`, a precise timer.
    ContactActions(ContactSession& session, ContactNavigation& navigation, ContactSettings& settings,
                   std::shared_ptr<ContactOutputService> output, ContactRecents& recents, Sleep sleep = {},
                   QObject* parent = nullptr);

    // An action has started and has been neither finished, refused nor cancelled; others are ignored.
    bool inProgress() const { return inProgress_; }
    // The last action's output step failed (nothing opened, the clipboard refused the text); the
    // next action clears it, and so may the views and the panel.
    bool externalFailure() const { return externalFailure_; }
    void setExternalFailure(bool failed);
    // A copy succeeded less than 1.5 seconds ago.
    bool copied() const { return copied_; }

    // The task of the last action started; cancel() leaves it stored, clearTask() forgets it.
    const std::optional<TaskHandle>& task() const { return task_; }
    void clearTask();
    const std::optional<DialcoveCore::RevisionID>& activeAttempt() const { return activeAttempt_; }
    const std::optional<TaskHandle>& feedbackTask() const { return feedbackTask_; }

    // Runs after an action succeeded; the panel closes itself here.
    std::function<void()> onFinished = noHook();
    // Runs when the copy key finds nothing to copy; the app beeps.
    std::function<void()> onUnavailable = noHook();

    // Return in the detail: the selected field's action, or the card for the edit row. Outside the
    // detail it opens the selected contact instead.
    void performSelectedAction();
    // The copy key: the selected field of the open contact, or in the list the selected contact's
    // first phone number; with neither, onUnavailable.
    void copySelection();
    // Control-Return in the detail: the chat for the selected field when it offers one, else nothing.
    void openWhatsApp();
    // Starts `action` on the field `field` of `contact`, unless an action runs, no session is open,
    // or the session's guard refuses it (no such field, or the field does not offer the action).
    void perform(DialcoveCore::ContactAction action, const DialcoveCore::FieldID& field,
                 const DialcoveCore::Contact& contact);
    // Shows the open contact's card in the address book's application.
    void openInContacts();
    // Drops the running action: cancels its task and forgets its attempt. The flags stay.
    void cancel();
    // Sets `copied` for 1.5 seconds from now, restarting the time of an earlier copy.
    void showCopied();

signals:
    void inProgressChanged();
    void externalFailureChanged();
    void copiedChanged();
    void taskChanged();

private:
    // What one action carries from its start into its task.
    struct Attempt {
        DialcoveCore::SessionID session;
        DialcoveCore::RevisionID revision;
        DialcoveCore::RevisionID id;
        DialcoveCore::Contact contact;
        // Field actions only: the card has neither.
        std::optional<DialcoveCore::ContactField> field;
        std::optional<DialcoveCore::ActionTicket> ticket;
    };

    // The checks both kinds of action make before their output step, around asking the worker for
    // the contact as its session knows it: that contact, or none when the attempt ended here.
    static QCoro::Task<std::optional<DialcoveCore::Contact>>
    confirm(CancellationToken token, QPointer<ContactActions> self, const Attempt& attempt);
    static QCoro::Task<> runAction(CancellationToken token, QPointer<ContactActions> self, Attempt attempt);
    static QCoro::Task<> runCard(CancellationToken token, QPointer<ContactActions> self, Attempt attempt);
    static QCoro::Task<> runFeedback(CancellationToken token, QPointer<ContactActions> self);

    bool isLive(const Attempt& attempt, const CancellationToken& token) const;
    bool accessAllowed() const;
    // Gives up a live attempt: lets its ticket go, ends the running state and asks for an access check.
    void refuse(const Attempt& attempt, const CancellationToken& token);
    // Ends the running state of an attempt that is finished or refused.
    void finish(const Attempt& attempt);
    // Applies the output step's outcome while the attempt is still live.
    void conclude(const Attempt& attempt, const CancellationToken& token, bool done, bool wasCopy);
    void begin(const DialcoveCore::RevisionID& attempt);
    void setInProgress(bool running);
    void setCopied(bool copied);
    void setTask(std::optional<TaskHandle> task);

    ContactSession& session_;
    ContactNavigation& navigation_;
    ContactSettings& settings_;
    const std::shared_ptr<ContactOutputService> output_;
    ContactRecents& recents_;
    const Sleep sleep_;
    bool inProgress_ = false;
    bool externalFailure_ = false;
    bool copied_ = false;
    std::optional<TaskHandle> task_;
    std::optional<DialcoveCore::RevisionID> activeAttempt_;
    std::optional<TaskHandle> feedbackTask_;
};

} // namespace Dialcove
