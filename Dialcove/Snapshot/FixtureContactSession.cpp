#include "Dialcove/Snapshot/FixtureContactSession.hpp"

#include "Dialcove/Async/CancellationError.hpp"
#include "DialcoveCore/SearchIndex.hpp"
#include "Platform/Contacts/AddressBookError.hpp"

#include <QPromise>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <memory>

namespace Dialcove {

using DialcoveCore::Contact;
using DialcoveCore::ContactID;
using DialcoveCore::SessionID;

namespace {

// How often a waiting load looks at its task's cancel flag.
constexpr std::chrono::milliseconds kCancelPoll(20);

template <typename T> void fail(QPromise<T>& promise, std::exception_ptr error) {
    promise.setException(std::move(error));
    promise.finish();
}

template <typename T> void cancelled(QPromise<T>& promise) {
    fail(promise, std::make_exception_ptr(CancellationError()));
}

} // namespace

FixtureContactSession::FixtureContactSession(std::vector<Contact> contacts, bool fails, bool waits,
                                             std::chrono::milliseconds waitLength, QObject* parent)
    : QObject(parent), contacts_(std::move(contacts)), fails_(fails), waits_(waits), waitLength_(waitLength) {
}

FixtureContactSession::~FixtureContactSession() {
    // Moved out first: failing a call resumes its task, which may call in again.
    auto pending = std::move(pending_);
    for (auto& [number, failCall] : pending)
        failCall();
}

template <typename T>
QFuture<T> FixtureContactSession::answerLater(std::chrono::milliseconds delay,
                                              const CancellationToken* cancellation,
                                              std::function<void(QPromise<T>&)> answer,
                                              std::function<void(QPromise<T>&)> dropped) {
    auto promise = std::make_shared<QPromise<T>>();
    promise->start();
    const std::uint64_t number = nextCall_++;
    pending_.emplace(number, [promise, dropped] { dropped(*promise); });

    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    // A coarse timer may fire 5% early: a 60-s wait would end at 57 s.
    timer->setTimerType(Qt::PreciseTimer);
    auto settle = [this, number, timer](auto&& finish) {
        // Erased before the promise finishes: its task resumes on a later turn, but not twice.
        if (pending_.erase(number) == 0)
            return;
        timer->deleteLater();
        finish();
    };
    connect(timer, &QTimer::timeout, this, [settle, promise, answer] { settle([&] { answer(*promise); }); });
    if (cancellation && delay > kCancelPoll) {
        auto* poll = new QTimer(timer);
        connect(poll, &QTimer::timeout, this, [settle, promise, token = *cancellation] {
            if (token.isCancelled())
                settle([&] { cancelled(*promise); });
        });
        poll->start(kCancelPoll);
    }
    timer->start(delay);
    return promise->future();
}

QFuture<void> FixtureContactSession::load(const SessionID&, const CancellationToken& cancellation) {
    ++loadsAsked_;
    const auto delay = waits_ ? waitLength_ : std::chrono::milliseconds(0);
    return answerLater<void>(
        delay, &cancellation,
        [this, cancellation](QPromise<void>& promise) {
            if (cancellation.isCancelled())
                return cancelled(promise);
            if (fails_)
                return fail(promise, std::make_exception_ptr(Platform::AddressBookError(
                                         "the fixture address book cannot be read")));
            promise.finish();
        },
        cancelled<void>);
}

QFuture<std::vector<Contact>> FixtureContactSession::search(const SessionID&, const QString& query,
                                                            const std::vector<ContactID>& recentIDs,
                                                            const CancellationToken& cancellation) {
    return answerLater<std::vector<Contact>>(
        std::chrono::milliseconds(0), nullptr,
        [this, query, recentIDs, cancellation](QPromise<std::vector<Contact>>& promise) {
            if (cancellation.isCancelled())
                return cancelled(promise);
            // A blank query shows the recents, as the live worker does; the index trims the rest.
            const std::vector<ContactID> candidates =
                query.trimmed().isEmpty() ? recentIDs
                                          : DialcoveCore::SearchIndex(contacts_).search(query.toStdString());
            const std::size_t considered =
                std::min(candidates.size(), DialcoveCore::SearchIndex::kResultLimit);
            std::vector<Contact> found;
            for (std::size_t i = 0; i < considered; ++i) {
                const auto hit = std::find_if(contacts_.begin(), contacts_.end(),
                                              [&](const Contact& c) { return c.id() == candidates[i]; });
                if (hit != contacts_.end())
                    found.push_back(*hit);
            }
            promise.addResult(std::move(found));
            promise.finish();
        },
        cancelled<std::vector<Contact>>);
}

QFuture<std::optional<Contact>> FixtureContactSession::contact(const SessionID&, const ContactID& id,
                                                               const CancellationToken& cancellation) {
    return answerLater<std::optional<Contact>>(
        std::chrono::milliseconds(0), nullptr,
        [this, id, cancellation](QPromise<std::optional<Contact>>& promise) {
            std::optional<Contact> found;
            if (!cancellation.isCancelled()) {
                const auto hit = std::find_if(contacts_.begin(), contacts_.end(),
                                              [&](const Contact& c) { return c.id() == id; });
                if (hit != contacts_.end())
                    found = *hit;
            }
            promise.addResult(std::move(found));
            promise.finish();
        },
        // A look-up never fails: one that is dropped finds nobody.
        [](QPromise<std::optional<Contact>>& promise) {
            promise.addResult(std::nullopt);
            promise.finish();
        });
}

QFuture<void> FixtureContactSession::end(const SessionID&) {
    return answerLater<void>(
        std::chrono::milliseconds(0), nullptr, [](QPromise<void>& promise) { promise.finish(); },
        [](QPromise<void>& promise) { promise.finish(); });
}

} // namespace Dialcove
