#include "Dialcove/Services/ContactActions.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Services/ContactNavigation.hpp"
#include "Dialcove/Services/ContactRecents.hpp"
#include "Dialcove/Services/ContactSession.hpp"
#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "Dialcove/Services/FailureText.hpp"
#include "DialcoveCore/FieldActions.hpp"
#include "DialcoveCore/MenuStatus.hpp"
#include "DialcoveCore/UUIDString.hpp"

#include <QLoggingCategory>
#include <QPromise>
#include <QTimer>
#include <algorithm>
#include <qcoro/qcorofuture.h>

using DialcoveCore::Contact;
using DialcoveCore::ContactAction;
using DialcoveCore::RevisionID;

namespace Dialcove {

ContactActions::ContactActions(ContactSession& session, ContactNavigation& navigation,
                               ContactSettings& settings, std::shared_ptr<ContactOutputService> output,
                               ContactRecents& recents, Sleep sleep, QObject* parent)
    : QObject(parent), session_(session), navigation_(navigation), settings_(settings),
      output_(std::move(output)), recents_(recents),
      sleep_(sleep ? std::move(sleep) : Sleep([this](std::chrono::milliseconds delay) {
          // A child timer goes with this object at once, and with it the promise: the waiting task
          // then resumes, finds the object gone and ends.
          auto promise = std::make_shared<QPromise<void>>();
          promise->start();
          auto* timer = new QTimer(this);
          timer->setSingleShot(true);
          timer->setTimerType(Qt::PreciseTimer);
          connect(timer, &QTimer::timeout, timer, [promise, timer] {
              promise->finish();
              timer->deleteLater();
          });
          timer->start(delay);
          return promise->future();
      })) {
    assertMainThread();
}

void ContactActions::setExternalFailure(bool failed) {
    assertMainThread();
    updateProperty(externalFailure_, failed, [this] { emit externalFailureChanged(); });
}

void ContactActions::setInProgress(bool running) {
    updateProperty(inProgress_, running, [this] { emit inProgressChanged(); });
}

void ContactActions::setCopied(bool copied) {
    updateProperty(copied_, copied, [this] { emit copiedChanged(); });
}

void ContactActions::setTask(std::optional<TaskHandle> task) {
    updateProperty(task_, std::move(task), [this] { emit taskChanged(); });
}

void ContactActions::clearTask() {
    assertMainThread();
    setTask(std::nullopt);
}

void ContactActions::performSelectedAction() {
    assertMainThread();
    if (session_.phase() != PanelPhase::detail) {
        navigation_.openSelected();
        return;
    }
    const auto& detail = navigation_.state().detail;
    if (!detail)
        return;
    if (detail->isEdit())
        openInContacts();
    else if (const auto& contact = navigation_.contact())
        perform(detail->action(), detail->fieldID(), *contact);
}

void ContactActions::copySelection() {
    assertMainThread();
    const auto& open = navigation_.contact();
    if (const auto field = navigation_.selectedField(); field && open) {
        perform(ContactAction::copy, field->id, *open);
        return;
    }
    const auto& selected = navigation_.state().selectedContactID;
    if (session_.phase() == PanelPhase::list && selected) {
        const auto& results = navigation_.results();
        const auto listed = std::find_if(results.begin(), results.end(),
                                         [&](const Contact& c) { return c.id() == *selected; });
        if (listed != results.end()) {
            const auto& fields = listed->fields();
            const auto phone = std::find_if(fields.begin(), fields.end(), [](const auto& field) {
                return field.kind == DialcoveCore::FieldKind::phone;
            });
            if (phone != fields.end()) {
                perform(ContactAction::copy, phone->id, *listed);
                return;
            }
        }
    }
    onUnavailable();
}

void ContactActions::openWhatsApp() {
    assertMainThread();
    const auto field = navigation_.selectedField();
    const auto& open = navigation_.contact();
    if (!field || !open || session_.phase() != PanelPhase::detail)
        return;
    const auto offered = DialcoveCore::FieldActions::make(*field, settings_.values().phonePlan);
    if (std::find(offered.begin(), offered.end(), ContactAction::whatsapp) != offered.end())
        perform(ContactAction::whatsapp, field->id, *open);
}

void ContactActions::begin(const RevisionID& attempt) {
    activeAttempt_ = attempt;
    setInProgress(true);
    setExternalFailure(false);
}

void ContactActions::perform(ContactAction action, const DialcoveCore::FieldID& fieldID,
                             const Contact& contact) {
    assertMainThread();
    if (inProgress_ || !session_.id())
        return;
    auto field = contact.field(fieldID);
    if (!field)
        return;
    // Taken before the guard tells its observers, who may change what the arguments refer to.
    Contact chosen = contact;
    const auto plan = settings_.values().phonePlan;
    auto ticket =
        session_.beginAction(chosen, field->id, action, plan, RevisionID(DialcoveCore::freshUUIDString()));
    if (!ticket)
        return;
    Attempt attempt{*session_.id(),    session_.revision(), ticket->revisionID,
                    std::move(chosen), std::move(field),    std::move(ticket)};
    begin(attempt.id);
    setTask(startTask(&ContactActions::runAction, QPointer(this), std::move(attempt)));
}

void ContactActions::openInContacts() {
    assertMainThread();
    const auto& open = navigation_.contact();
    if (inProgress_ || !session_.id() || !open)
        return;
    Attempt attempt{*session_.id(), session_.revision(), RevisionID(DialcoveCore::freshUUIDString()),
                    *open,          std::nullopt,        std::nullopt};
    begin(attempt.id);
    setTask(startTask(&ContactActions::runCard, QPointer(this), std::move(attempt)));
}

void ContactActions::cancel() {
    assertMainThread();
    if (task_)
        task_->cancel();
    activeAttempt_.reset();
    setInProgress(false);
}

void ContactActions::showCopied() {
    assertMainThread();
    if (feedbackTask_)
        feedbackTask_->cancel();
    setCopied(true);
    feedbackTask_ = startTask(&ContactActions::runFeedback, QPointer(this));
}

bool ContactActions::isLive(const Attempt& attempt, const CancellationToken& token) const {
    return activeAttempt_ == attempt.id && session_.isCurrentAction(attempt.session, attempt.revision, token);
}

bool ContactActions::accessAllowed() const {
    return session_.permission()->status() == ContactPermission::allowed;
}

void ContactActions::finish(const Attempt& attempt) {
    if (attempt.ticket)
        session_.finishAction(*attempt.ticket);
    setInProgress(false);
}

void ContactActions::refuse(const Attempt& attempt, const CancellationToken& token) {
    if (!isLive(attempt, token))
        return;
    finish(attempt);
    session_.onAccessCheck();
}

void ContactActions::conclude(const Attempt& attempt, const CancellationToken& token, bool done,
                              bool wasCopy) {
    if (!isLive(attempt, token))
        return;
    finish(attempt);
    if (!done) {
        qCInfo(lcActions) << (wasCopy ? "copy failed" : "nothing opened the action");
        setExternalFailure(true);
        return;
    }
    recents_.record(attempt.contact.id());
    if (wasCopy)
        showCopied();
    onFinished();
}

QCoro::Task<std::optional<Contact>>
ContactActions::confirm(CancellationToken token, QPointer<ContactActions> self, const Attempt& attempt) {
    if (!self)
        co_return std::nullopt;
    if (!self->isLive(attempt, token) || !self->accessAllowed()) {
        self->refuse(attempt, token);
        co_return std::nullopt;
    }

    auto answer = self->session_.worker()->contact(attempt.session, attempt.contact.id(), token);
    std::optional<Contact> current;
    try {
        current = co_await answer;
    } catch (...) {
        // The worker gives none rather than fail; a cancelled call may still end here.
    }
    if (!self)
        co_return std::nullopt;
    // A field action needs the field exactly as it was chosen.
    if (!current || (attempt.field && current->field(attempt.field->id) != attempt.field)) {
        self->refuse(attempt, token);
        co_return std::nullopt;
    }
    if (!self->isLive(attempt, token))
        co_return std::nullopt;
    if (!self->accessAllowed()) {
        self->refuse(attempt, token);
        co_return std::nullopt;
    }
    co_return current;
}

QCoro::Task<> ContactActions::runAction(CancellationToken token, QPointer<ContactActions> self,
                                        Attempt attempt) {
    auto confirming = confirm(token, self, attempt);
    const std::optional<Contact> current = co_await confirming;
    if (!self || !current)
        co_return;

    const auto request = self->session_.guardState().actionRequest(*attempt.ticket, &*current,
                                                                   self->settings_.values().phonePlan);
    if (!request) {
        self->finish(attempt);
        co_return;
    }

    const bool isCopy = request->kind == DialcoveCore::ActionRequest::Kind::copy;
    bool done = false;
    if (isCopy) {
        done = self->output_->copy(request->text);
    } else {
        // The frame keeps the output service for as long as the opening runs.
        const std::shared_ptr<ContactOutputService> output = self->output_;
        auto opening = output->open(*request);
        try {
            done = co_await opening;
        } catch (...) {
            qCWarning(lcActions) << "opening failed:" << failureText(std::current_exception());
        }
        if (!self)
            co_return;
    }
    self->conclude(attempt, token, done, isCopy);
}

QCoro::Task<> ContactActions::runCard(CancellationToken token, QPointer<ContactActions> self,
                                      Attempt attempt) {
    auto confirming = confirm(token, self, attempt);
    const std::optional<Contact> current = co_await confirming;
    if (!self || !current)
        co_return;

    const std::shared_ptr<ContactOutputService> output = self->output_;
    auto opening = output->openContact(attempt.contact.id());
    bool opened = false;
    try {
        opened = co_await opening;
    } catch (...) {
        qCWarning(lcActions) << "opening the card failed:" << failureText(std::current_exception());
    }
    if (self)
        self->conclude(attempt, token, opened, false);
}

QCoro::Task<> ContactActions::runFeedback(CancellationToken token, QPointer<ContactActions> self) {
    if (!self)
        co_return;
    auto sleeping = self->sleep_(DialcoveCore::copiedDuration);
    co_await sleeping;
    if (self && !token.isCancelled())
        self->setCopied(false);
}

} // namespace Dialcove
