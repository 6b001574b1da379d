#include "Dialcove/Services/ContactsWorker.hpp"

#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"

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
using DialcoveCore::ContactID;
using DialcoveCore::SessionID;

ContactsWorker::ContactsWorker(Platform::AddressBook book)
    : ContactsWorker([book = std::move(book)](const std::function<bool()>& isCancelled) {
          // A copy for this load: the book holds nothing but its settings, read afresh.
          const Platform::AddressBook store = book;
          return store.readContacts(isCancelled);
      }) {}

ContactsWorker::ContactsWorker(ContactReader read) : read_(std::move(read)), thread_("contacts worker") {
#ifdef __GLIBC__
    // A fixed threshold keeps large blocks (the list of contacts, the index's arrays) mapped apart
    // for good: glibc would otherwise raise it once such a block is freed, and the next load's
    // arrays, grown inside the heap, would leave their outgrown copies resident.
    ::mallopt(M_MMAP_THRESHOLD, kMapThreshold);
#endif
}

ContactsWorker::~ContactsWorker() = default;

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

void ContactsWorker::runLoad(const SessionID& session, const CancellationToken& cancellation) {
    // The previous session's contacts go before reading starts, so two books are never held at once.
    forgetContacts();
    active_ = session;
    std::optional<std::vector<Contact>> read;
    try {
        read = read_([&cancellation] { return cancellation.isCancelled(); });
    } catch (const std::exception& error) {
        qCWarning(lcWorker) << "contacts load failed:" << error.what();
        throw;
    }
    // A reading that stopped part way gives none: nothing of it is kept.
    if (!read || cancellation.isCancelled() || !isActive(session))
        throw CancellationError();
#ifdef __GLIBC__
    // The reading's buffers and per-card scraps are freed but still resident, scattered between the
    // contacts; handing them back before the index is built keeps the load's peak down.
    ::malloc_trim(0);
#endif
    // Indexed before it is kept, so a load that fails here leaves nothing to look up either.
    DialcoveCore::SearchIndex index(*read);
    contacts_ = std::move(*read);
    byID_.resize(contacts_.size());
    for (std::uint32_t i = 0; i < byID_.size(); ++i)
        byID_[i] = i;
    std::stable_sort(byID_.begin(), byID_.end(), [this](std::uint32_t a, std::uint32_t b) {
        return contacts_[a].id().rawValue < contacts_[b].id().rawValue;
    });
    index_.emplace(std::move(index));
    qCDebug(lcWorker) << "loaded" << contacts_.size() << "contacts";
}

std::vector<Contact> ContactsWorker::runSearch(const SessionID& session, const QString& query,
                                               const std::vector<ContactID>& recentIDs,
                                               const CancellationToken& cancellation) const {
    cancellation.throwIfCancelled();
    // Never another session's contacts, and none of a load that did not finish.
    if (!isActive(session) || !index_)
        throw CancellationError();
    // The index folds and trims the query itself; only a blank one is told apart here.
    const std::vector<ContactID> candidates =
        query.trimmed().isEmpty() ? recentIDs : index_->search(query.toStdString());
    const std::size_t considered = std::min(candidates.size(), DialcoveCore::SearchIndex::kResultLimit);
    std::vector<Contact> found;
    found.reserve(considered);
    for (std::size_t i = 0; i < considered; ++i)
        if (const Contact* contact = loaded(candidates[i]))
            found.push_back(*contact);
    return found;
}

std::optional<Contact> ContactsWorker::runContact(const SessionID& session, const ContactID& id,
                                                  const CancellationToken& cancellation) const {
    if (cancellation.isCancelled() || !isActive(session))
        return std::nullopt;
    if (const Contact* contact = loaded(id))
        return *contact;
    return std::nullopt;
}

void ContactsWorker::runEnd(const SessionID& session) {
    if (!isActive(session))
        return;
    forgetContacts();
    active_.reset();
}

const Contact* ContactsWorker::loaded(const ContactID& id) const {
    // The first contact loaded with the identifier, as a scan in load order would find it.
    const auto found = std::lower_bound(byID_.begin(), byID_.end(), id.rawValue,
                                        [this](std::uint32_t position, const std::string& wanted) {
                                            return contacts_[position].id().rawValue < wanted;
                                        });
    if (found == byID_.end() || contacts_[*found].id() != id)
        return nullptr;
    return &contacts_[*found];
}

void ContactsWorker::forgetContacts() {
    const bool held = index_ || contacts_.capacity() > 0;
    index_.reset();
    std::vector<std::uint32_t>().swap(byID_);
    std::vector<Contact>().swap(contacts_);
#ifdef __GLIBC__
    // Freed heap stays resident until trimmed: the next load would read its file on top of it.
    if (held)
        ::malloc_trim(0);
#endif
}

} // namespace Dialcove
