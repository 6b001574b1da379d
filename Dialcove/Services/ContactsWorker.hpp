#pragma once

#include "Dialcove/Async/CancellationToken.hpp"
#include "Dialcove/Async/WorkerThread.hpp"
#include "Dialcove/Services/ContactSessionService.hpp"
#include "DialcoveCore/ContactBook.hpp"
#include "DialcoveCore/SearchIndex.hpp"
#include "Platform/Contacts/AddressBook.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Dialcove {

// The one component that reads the address book: an actor on its own thread that holds the
// contacts and the search index of the active session. Calls run one at a time in the order
// they were made, so a search made during a load waits for it; its state is touched only there.
//
// Each load is a session of its own, as designed. Beside the session it keeps the last book it
// was handed and the index built from it: when the address book hands back the same book (nothing
// changed in the folder), a load takes both as they are, so an opening of the panel costs little.
class ContactsWorker final : public ContactSessionService {
public:
    // Reads every contact, in the book's order; polls `isCancelled` once per contact and gives none
    // once it says true. Throws when the book cannot be read. Runs on the worker's thread.
    using ContactReader = std::function<std::optional<std::vector<DialcoveCore::Contact>>(
        const std::function<bool()>& isCancelled)>;
    // The same, as a shared book; the same book again promises the same contacts.
    using BookReader = std::function<std::shared_ptr<const DialcoveCore::ContactBook>(
        const std::function<bool()>& isCancelled)>;

    // Over the address book, which reads only what changed since its last reading.
    explicit ContactsWorker(Platform::AddressBook book);
    explicit ContactsWorker(ContactReader read);
    explicit ContactsWorker(BookReader read);
    // Stops a warm-up and waits for the calls already made; cancel a running load first.
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

    // Reads the book and builds its index now, outside any session, so that the first opening
    // finds both ready; a book that may not be read is left alone. Stopped by the destructor.
    QFuture<void> warmUp();

private:
    // A book and what is built from it, shared by the sessions that load it unchanged.
    struct Prepared {
        std::shared_ptr<const DialcoveCore::ContactBook> book;
        std::shared_ptr<const DialcoveCore::SearchIndex> index;
        // Positions in the book, ordered by identifier (ties in book order), so that a hit is
        // found by a binary search rather than a scan of every contact.
        std::shared_ptr<const std::vector<std::uint32_t>> byID;
    };

    // The book read now, with its index built or reused; none when cancelled.
    std::optional<Prepared> prepare(const std::function<bool()>& isCancelled);
    void runLoad(const DialcoveCore::SessionID& session, const CancellationToken& cancellation);
    std::vector<DialcoveCore::Contact> runSearch(const DialcoveCore::SessionID& session, const QString& query,
                                                 const std::vector<DialcoveCore::ContactID>& recentIDs,
                                                 const CancellationToken& cancellation) const;
    std::optional<DialcoveCore::Contact> runContact(const DialcoveCore::SessionID& session,
                                                    const DialcoveCore::ContactID& id,
                                                    const CancellationToken& cancellation) const;
    void runEnd(const DialcoveCore::SessionID& session);

    bool isActive(const DialcoveCore::SessionID& session) const { return active_ == session; }
    std::optional<std::size_t> loaded(const DialcoveCore::ContactID& id) const;
    void forgetSession();

    const BookReader read_;
    CancellationToken warmUpToken_;
    // Touched only on thread_.
    std::optional<DialcoveCore::SessionID> active_;
    // The session's contacts and index: present only after a load of active_ succeeded.
    std::optional<Prepared> session_;
    // The last book read and what was built from it, kept between sessions.
    std::optional<Prepared> kept_;
    // Last, so it stops (running the calls already made) before the state above goes.
    WorkerThread thread_;
};

} // namespace Dialcove
