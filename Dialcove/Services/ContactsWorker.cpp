#include "Dialcove/Services/ContactsWorker.hpp"

#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "DialcoveCore/PackedContacts.hpp"
#include "Platform/Contacts/AddressBookSnapshot.hpp"

#include <QLoggingCategory>
#include <algorithm>
#include <exception>
#include <malloc.h>

namespace Dialcove {

namespace {
// glibc's own starting value.
[[maybe_unused]] constexpr int kMapThreshold = 128 * 1024;
} // namespace

using DialcoveCore::Contact;
using DialcoveCore::ContactBook;
using DialcoveCore::ContactID;
using DialcoveCore::SessionID;

ContactsWorker::ContactsWorker(Platform::AddressBook book)
    : ContactsWorker(BookReader([book = std::move(book)](const std::function<bool()>& isCancelled) {
          return std::shared_ptr<const ContactBook>(book.read(isCancelled));
      })) {}

ContactsWorker::ContactsWorker(ContactReader read)
    : ContactsWorker(BookReader([read = std::move(read)](const std::function<bool()>& isCancelled) {
          std::optional<std::vector<Contact>> contacts = read(isCancelled);
          return contacts ? std::make_shared<const DialcoveCore::PackedContacts>(*contacts)
                          : std::shared_ptr<const DialcoveCore::PackedContacts>();
      })) {}

ContactsWorker::ContactsWorker(BookReader read) : read_(std::move(read)), thread_("contacts worker") {
#ifdef __GLIBC__
    // A fixed threshold keeps large blocks (the index's arrays, the book's lists) mapped apart for
    // good: glibc would otherwise raise it once such a block is freed, and the next load's arrays,
    // grown inside the heap, would leave their outgrown copies resident.
    ::mallopt(M_MMAP_THRESHOLD, kMapThreshold);
#endif
}

ContactsWorker::~ContactsWorker() {
    warmUpToken_.cancel();
}

QFuture<void> ContactsWorker::load(const SessionID& session, const CancellationToken& cancellation) {
    return thread_.call([this, session, cancellation] { runLoad(session, cancellation); });
}

QFuture<std::vector<Contact>> ContactsWorker::search(const SessionID& session, const QString& query,
                                                     const std::vector<ContactID>& recentIDs,
                                                     const CancellationToken& cancellation) {
    return thread_.call([this, session, query, recentIDs, cancellation] {
        return runSearch(session, query, recentIDs, cancellation);
    });
}

QFuture<std::optional<Contact>> ContactsWorker::contact(const SessionID& session, const ContactID& id,
                                                        const CancellationToken& cancellation) {
    return thread_.call([this, session, id, cancellation] { return runContact(session, id, cancellation); });
}

QFuture<void> ContactsWorker::end(const SessionID& session) {
    return thread_.call([this, session] { runEnd(session); });
}

QFuture<void> ContactsWorker::warmUp() {
    return thread_.call([this] {
        try {
            prepare([token = warmUpToken_] { return token.isCancelled(); });
        } catch (const std::exception& error) {
            // Not allowed or not there yet: the first opening says so.
            qCDebug(lcWorker) << "contacts not read ahead:" << error.what();
        }
    });
}

std::optional<ContactsWorker::Prepared> ContactsWorker::prepare(const std::function<bool()>& isCancelled) {
    std::shared_ptr<const ContactBook> book;
    try {
        book = read_(isCancelled);
    } catch (...) {
        // A book that cannot be read keeps nothing of the last one.
        kept_.reset();
        throw;
    }
    if (!book)
        return std::nullopt;
    if (kept_ && kept_->book == book)
        return kept_;
    // The last book's index goes before the new one is built: two are never held at once.
    const bool held = kept_.has_value();
    kept_.reset();
#ifdef __GLIBC__
    // What the last book and its index left free is handed back before the new index grows.
    if (held)
        ::malloc_trim(0);
#endif
    Prepared prepared;
    prepared.book = book;
    prepared.index = std::make_shared<const DialcoveCore::SearchIndex>(*book);
    {
        // Identifiers looked up once each, not at every comparison; ties keep the book's order.
        std::vector<std::pair<std::string_view, std::uint32_t>> ids;
        ids.reserve(book->size());
        for (std::uint32_t i = 0; i < book->size(); ++i)
            ids.emplace_back(book->view(i).id(), i);
        std::sort(ids.begin(), ids.end());
        auto byID = std::make_shared<std::vector<std::uint32_t>>();
        byID->reserve(ids.size());
        for (const auto& [id, position] : ids)
            byID->push_back(position);
        prepared.byID = std::move(byID);
    }
    kept_ = prepared;
    qCDebug(lcWorker) << "indexed" << book->size() << "contacts";
    return prepared;
}

void ContactsWorker::runLoad(const SessionID& session, const CancellationToken& cancellation) {
    // The previous session's contacts go before reading starts.
    forgetSession();
    active_ = session;
    std::optional<Prepared> prepared;
    try {
        prepared = prepare([&cancellation] { return cancellation.isCancelled(); });
    } catch (const std::exception& error) {
        qCWarning(lcWorker) << "contacts load failed:" << error.what();
        throw;
    }
    // A reading that stopped part way gives none: nothing of it is kept for the session.
    if (!prepared || cancellation.isCancelled() || !isActive(session))
        throw CancellationError();
    session_ = std::move(prepared);
    qCDebug(lcWorker) << "loaded" << session_->book->size() << "contacts";
}

std::vector<Contact> ContactsWorker::runSearch(const SessionID& session, const QString& query,
                                               const std::vector<ContactID>& recentIDs,
                                               const CancellationToken& cancellation) const {
    cancellation.throwIfCancelled();
    // Never another session's contacts, and none of a load that did not finish.
    if (!isActive(session) || !session_)
        throw CancellationError();
    // The index folds and trims the query itself; only a blank one is told apart here.
    const std::vector<ContactID> candidates =
        query.trimmed().isEmpty() ? recentIDs : session_->index->search(query.toStdString());
    const std::size_t considered = std::min(candidates.size(), DialcoveCore::SearchIndex::kResultLimit);
    std::vector<Contact> found;
    found.reserve(considered);
    for (std::size_t i = 0; i < considered; ++i)
        if (const std::optional<std::size_t> position = loaded(candidates[i]))
            found.push_back(session_->book->contact(*position));
    return found;
}

std::optional<Contact> ContactsWorker::runContact(const SessionID& session, const ContactID& id,
                                                  const CancellationToken& cancellation) const {
    if (cancellation.isCancelled() || !isActive(session) || !session_)
        return std::nullopt;
    if (const std::optional<std::size_t> position = loaded(id))
        return session_->book->contact(*position);
    return std::nullopt;
}

void ContactsWorker::runEnd(const SessionID& session) {
    if (!isActive(session))
        return;
    forgetSession();
    active_.reset();
}

std::optional<std::size_t> ContactsWorker::loaded(const ContactID& id) const {
    // The first contact loaded with the identifier, as a scan in book order would find it.
    const ContactBook& book = *session_->book;
    const std::vector<std::uint32_t>& byID = *session_->byID;
    const auto found = std::lower_bound(byID.begin(), byID.end(), std::string_view(id.rawValue),
                                        [&book](std::uint32_t position, std::string_view wanted) {
                                            return book.view(position).id() < wanted;
                                        });
    if (found == byID.end() || book.view(*found).id() != id.rawValue)
        return std::nullopt;
    return *found;
}

void ContactsWorker::forgetSession() {
    session_.reset();
}

} // namespace Dialcove
