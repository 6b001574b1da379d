#include "Dialcove/Services/ContactNavigation.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Services/ContactRecents.hpp"
#include "Dialcove/Services/ContactSession.hpp"
#include "Dialcove/Services/ContactSettings.hpp"

#include <algorithm>

using DialcoveCore::Contact;
using DialcoveCore::ContactID;
using DialcoveCore::MoveDirection;
using DialcoveCore::NavigationState;

namespace Dialcove {

ContactNavigation::ContactNavigation(ContactSession& session, ContactSettings& settings,
                                     ContactRecents& recents, QObject* parent)
    : QObject(parent), session_(session), settings_(settings), recents_(recents) {
    assertMainThread();
}

void ContactNavigation::setState(NavigationState state) {
    assertMainThread();
    updateProperty(state_, std::move(state), [this] { emit stateChanged(); });
}

void ContactNavigation::setContact(std::optional<Contact> contact) {
    updateProperty(contact_, std::move(contact), [this] { emit contactChanged(); });
}

template <typename Change> void ContactNavigation::changeState(Change&& change) {
    assertMainThread();
    std::forward<Change>(change)(state_);
    emit stateChanged();
}

std::vector<ContactID> ContactNavigation::resultIDs() const {
    std::vector<ContactID> ids;
    ids.reserve(results_.size());
    for (const Contact& contact : results_)
        ids.push_back(contact.id());
    return ids;
}

std::optional<DialcoveCore::ContactField> ContactNavigation::selectedField() const {
    if (!contact_ || !state_.detail || state_.detail->isEdit())
        return std::nullopt;
    return contact_->field(state_.detail->fieldID());
}

void ContactNavigation::openSelected() {
    assertMainThread();
    const auto listed =
        state_.selectedContactID
            ? std::find_if(results_.begin(), results_.end(),
                           [&](const Contact& c) { return c.id() == *state_.selectedContactID; })
            : results_.end();
    if (session_.phase() != PanelPhase::list || listed == results_.end() ||
        session_.permission()->status() != ContactPermission::allowed) {
        session_.onAccessCheck();
        return;
    }
    const Contact opened = *listed;
    onOpen();
    // Whatever was started under the old revision (a query answer, an action) is stale from here.
    session_.renewRevision();
    setContact(opened);
    session_.setPhase(PanelPhase::detail);
    onMove();
    changeState([&](NavigationState& state) { state.openContact(opened); });
    recents_.record(opened.id());
}

void ContactNavigation::move(MoveDirection direction) {
    assertMainThread();
    onMove();
    if (contact_ && session_.phase() == PanelPhase::detail) {
        changeState([&](NavigationState& state) {
            state.moveField(direction, *contact_, settings_.values().phonePlan);
        });
    } else if (session_.phase() == PanelPhase::list) {
        const auto ids = resultIDs();
        changeState([&](NavigationState& state) { state.moveContact(direction, ids); });
    }
}

void ContactNavigation::moveAction(MoveDirection direction) {
    assertMainThread();
    if (!contact_ || session_.phase() != PanelPhase::detail)
        return;
    onMove();
    changeState([&](NavigationState& state) {
        state.moveAction(direction, *contact_, settings_.values().phonePlan);
    });
}

void ContactNavigation::selectContact(const ContactID& id) {
    assertMainThread();
    onMove();
    const auto ids = resultIDs();
    changeState([&](NavigationState& state) { state.reconcile(id, ids); });
}

void ContactNavigation::selectField(const DialcoveCore::FieldID& field, DialcoveCore::ContactAction action) {
    assertMainThread();
    if (!contact_)
        return;
    onMove();
    changeState([&](NavigationState& state) {
        state.selectField(field, action, *contact_, settings_.values().phonePlan);
    });
}

void ContactNavigation::backToList() {
    assertMainThread();
    setContact(std::nullopt);
    changeState([](NavigationState& state) { state.closeDetail(); });
    session_.setPhase(PanelPhase::list);
}

void ContactNavigation::setResults(std::vector<Contact> contacts, const std::optional<ContactID>& keep) {
    assertMainThread();
    updateProperty(results_, std::move(contacts), [this] { emit resultsChanged(); });
    const auto ids = resultIDs();
    changeState([&](NavigationState& state) { state.reconcile(keep, ids); });
}

void ContactNavigation::showContact(const Contact& contact, const NavigationState& earlier) {
    assertMainThread();
    setContact(contact);
    session_.setPhase(PanelPhase::detail);
    changeState([&](NavigationState& state) {
        state = earlier;
        state.refresh(contact, settings_.values().phonePlan);
        // An earlier state of another contact has nothing to keep.
        if (!state.detail || state.selectedContactID != contact.id())
            state.openContact(contact);
    });
}

void ContactNavigation::reset() {
    assertMainThread();
    results_.clear();
    emit resultsChanged();
    setContact(std::nullopt);
}

} // namespace Dialcove
