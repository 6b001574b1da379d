#pragma once

#include "Dialcove/Async/WorkerThread.hpp"
#include "Dialcove/Services/ContactSessionService.hpp"
#include "DialcoveCore/SearchIndex.hpp"
#include "Platform/Contacts/AddressBook.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace Dialcove {

// The one component that reads the address book: an actor on its own thread that holds the
// contacts and the search index of the active session. Calls run one at a time in the order
// they were made, so a search made during a load waits for it; its state is touched only there.
class ContactsWorker final : public ContactSessionService {
public:
    // Reads every contact, in the book's order; polls `isCancelled` once per contact and gives none
    // once it says true. Throws when the book cannot be read. Runs on the worker's thread.
    using ContactReader = std::function<std::optional<std::vector<DialcoveCore::Contact>>(
        const std::function<bool()>& isCancelled)>;

    // Over the address book; each load reads it afresh.
    explicit ContactsWorker(Platform::AddressBook book);
    explicit ContactsWorker(ContactReader read);
    // Waits for the calls already made; cancel a running load first.
    ~ContactsWorker() override;

    QFuture<void> load(const DialcoveCore::SessionID& session,
                       const CancellationToken& cancellation) override;
    QFuture<std::vector<DialcoveCore::Contact>> search(const DialcoveCore::SessionID& session,
                                                       const QString& query,
                                                       const std::vector<DialcoveCore::ContactID>& recentIDs,
                                                       const CancellationToken& cancellation) override;
    QFuture<std::optional<DialcoveCore::Contact>> contact(const DialcoveCore::SessionID& session,
                                                          const DialcoveCore::ContactID& id,
                                                          const CancellationToken& cancellation) override;
    QFuture<void> end(const DialcoveCore::SessionID& session) override;

private:
    void runLoad(const DialcoveCore::SessionID& session, const CancellationToken& cancellation);
    std::vector<DialcoveCore::Contact> runSearch(const DialcoveCore::SessionID& session, const QString& query,
                                                 const std::vector<DialcoveCore::ContactID>& recentIDs,
                                                 const CancellationToken& cancellation) const;
    std::optional<DialcoveCore::Contact> runContact(const DialcoveCore::SessionID& session,
                                                    const DialcoveCore::ContactID& id,
                                                    const CancellationToken& cancellation) const;
    void runEnd(const DialcoveCore::SessionID& session);

    bool isActive(const DialcoveCore::SessionID& session) const { return active_ == session; }
    const DialcoveCore::Contact* loaded(const DialcoveCore::ContactID& id) const;
    void forgetContacts();

    const ContactReader read_;
    // Touched only on thread_.
    std::optional<DialcoveCore::SessionID> active_;
    std::vector<DialcoveCore::Contact> contacts_;
    std::optional<DialcoveCore::SearchIndex> index_; // present only after a load of active_ succeeded
    // Positions in contacts_, ordered by identifier (ties in load order), so that a hit is found
    // by a binary search rather than a scan of every contact. Built with the index.
    std::vector<std::uint32_t> byID_;
    // Last, so it stops (running the calls already made) before the state above goes.
    WorkerThread thread_;
};

} // namespace Dialcove
