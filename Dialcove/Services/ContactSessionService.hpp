#pragma once

#include "Dialcove/Async/CancellationToken.hpp"
#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "DialcoveCore/SessionID.hpp"

#include <QFuture>
#include <QString>
#include <optional>
#include <vector>

namespace Dialcove {

// Loads the address book for one session at a time and answers searches and look-ups for it.
// Called from the main thread; every call is answered through a future that a main-thread task
// co_awaits. `cancellation` is the calling task's token: a call whose task is cancelled fails
// with CancellationError (or gives none), and a long load stops at the next contact.
class ContactSessionService {
public:
    virtual ~ContactSessionService() = default;

    // Reads, converts and indexes every contact and makes `session` the active one, dropping the
    // previous session's contacts at once. Fails with the address book's error when it cannot be
    // read, and with CancellationError when the task was cancelled; either way the session stays
    // active with no contacts.
    virtual QFuture<void> load(const DialcoveCore::SessionID& session,
                               const CancellationToken& cancellation) = 0;

    // At most eight contacts for `query`, best first; for a query of only white space, the loaded
    // contacts among the first eight `recentIDs`, in their order. Fails with CancellationError when
    // the task was cancelled, `session` is not the active one, or its load did not succeed.
    virtual QFuture<std::vector<DialcoveCore::Contact>>
    search(const DialcoveCore::SessionID& session, const QString& query,
           const std::vector<DialcoveCore::ContactID>& recentIDs, const CancellationToken& cancellation) = 0;

    // The loaded contact with `id`; none when the task was cancelled, `session` is not the active
    // one, or no loaded contact has that identifier. Never fails.
    virtual QFuture<std::optional<DialcoveCore::Contact>> contact(const DialcoveCore::SessionID& session,
                                                                  const DialcoveCore::ContactID& id,
                                                                  const CancellationToken& cancellation) = 0;

    // Forgets the contacts of `session` when it is the active one; otherwise does nothing. Never fails.
    virtual QFuture<void> end(const DialcoveCore::SessionID& session) = 0;
};

} // namespace Dialcove
