#pragma once

#include "Dialcove/Services/ContactSessionService.hpp"

#include <QObject>
#include <QPromise>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>

namespace Dialcove {

// The contacts worker of snapshot mode: serves fixed contacts from memory and touches no address
// book. Every answer lands on a later turn of the main event loop, never before the call returns,
// as the worker's do. Main thread only.
class FixtureContactSession final : public QObject, public ContactSessionService {
public:
    static constexpr std::chrono::milliseconds kDefaultWait = std::chrono::seconds(60);

    // `waits` holds every load for `waitLength` first (the loading state); `fails` then makes it
    // fail as an unreadable address book does.
    FixtureContactSession(std::vector<DialcoveCore::Contact> contacts, bool fails, bool waits,
                          std::chrono::milliseconds waitLength = kDefaultWait, QObject* parent = nullptr);
    // Answers whatever is still pending, so no awaiting task hangs: loads and searches with
    // CancellationError, look-ups with none.
    ~FixtureContactSession() override;

    const std::vector<DialcoveCore::Contact>& contacts() const { return contacts_; }
    bool fails() const { return fails_; }
    bool waits() const { return waits_; }
    // How many loads were asked for, answered or not.
    int loadsAsked() const { return loadsAsked_; }

    // The session identifier is not used: there is only ever one book.
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
    // Runs `answer` (which fills the promise) after `delay`, or at once with CancellationError when
    // `cancellation` is set meanwhile; the token has no signal, so a waiting call polls it.
    // `dropped` fills it instead when this object goes first.
    template <typename T>
    QFuture<T> answerLater(std::chrono::milliseconds delay, const CancellationToken* cancellation,
                           std::function<void(QPromise<T>&)> answer,
                           std::function<void(QPromise<T>&)> dropped);

    std::vector<DialcoveCore::Contact> contacts_;
    bool fails_;
    bool waits_;
    std::chrono::milliseconds waitLength_;
    std::uint64_t nextCall_ = 0;
    int loadsAsked_ = 0;
    // How to fail each call not yet answered, by call number.
    std::map<std::uint64_t, std::function<void()>> pending_;
};

} // namespace Dialcove
