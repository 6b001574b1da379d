#pragma once

#include "Dialcove/Async/WeakHook.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/MoveDirection.hpp"
#include "DialcoveCore/NavigationState.hpp"

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

namespace Dialcove {

class ContactRecents;
class ContactSession;
class ContactSettings;

// What the panel lists, the contact open in the detail, and the selection in both. Applies the
// selection rules of NavigationState to its own data, keeps the session's phase at list or detail as
// the user opens and leaves a contact, and records opened contacts as recent. Main thread only; the
// session, settings and recents outlive it.
//
// Every operation that changes `state` through a NavigationState rule notifies stateChanged, whether
// or not the value changed; setState and the other properties notify only for a value that differs.
class ContactNavigation final : public QObject {
    Q_OBJECT

public:
    ContactNavigation(ContactSession& session, ContactSettings& settings, ContactRecents& recents,
                      QObject* parent = nullptr);

    const std::vector<DialcoveCore::Contact>& results() const { return results_; }
    // The contact open in the detail.
    const std::optional<DialcoveCore::Contact>& contact() const { return contact_; }
    const DialcoveCore::NavigationState& state() const { return state_; }
    // Replaces the state as it is: the panel empties it when it opens and closes.
    void setState(DialcoveCore::NavigationState state);

    // Runs before the selection moves; the panel cancels the running action here.
    std::function<void()> onMove = noHook();
    // Runs when a contact is opened from the list; the panel cancels the running search here.
    std::function<void()> onOpen = noHook();

    // The open contact's field that the detail selection names; none for the edit row or nothing open.
    std::optional<DialcoveCore::ContactField> selectedField() const;

    // Opens the selected contact of the list in the detail, on its first field with copy, and records
    // it as recent. Outside the list, with nothing selected or listed, or without access, asks the
    // session for an access check instead.
    void openSelected();
    // The field selection in the detail, the contact selection in the list; elsewhere only onMove.
    void move(DialcoveCore::MoveDirection direction);
    // The selected action of the open contact, in the detail only.
    void moveAction(DialcoveCore::MoveDirection direction);
    // Selects that contact when it is listed, else the first; closes the detail selection.
    void selectContact(const DialcoveCore::ContactID& id);
    // Selects the field with the action, or with copy when the field does not offer it.
    void selectField(const DialcoveCore::FieldID& field, DialcoveCore::ContactAction action);
    // Leaves the detail for the list, keeping the contact that was open selected.
    void backToList();
    // Replaces the list, keeping `keep` selected when it is listed, else selecting the first.
    void setResults(std::vector<DialcoveCore::Contact> contacts,
                    const std::optional<DialcoveCore::ContactID>& keep);
    // Opens `contact` in the detail with the selection of `earlier` where it still fits: the panel
    // reopens the contact that was open before a reload. Records no recent.
    void showContact(const DialcoveCore::Contact& contact, const DialcoveCore::NavigationState& earlier);
    // Empties the list (always notifying) and closes the contact; the state stays.
    void reset();

signals:
    void resultsChanged();
    void contactChanged();
    void stateChanged();

private:
    std::vector<DialcoveCore::ContactID> resultIDs() const;
    void setContact(std::optional<DialcoveCore::Contact> contact);
    // Applies a NavigationState rule and notifies.
    template <typename Change> void changeState(Change&& change);

    ContactSession& session_;
    ContactSettings& settings_;
    ContactRecents& recents_;
    std::vector<DialcoveCore::Contact> results_;
    std::optional<DialcoveCore::Contact> contact_;
    DialcoveCore::NavigationState state_;
};

} // namespace Dialcove
