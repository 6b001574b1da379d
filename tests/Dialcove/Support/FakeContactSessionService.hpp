#pragma once

#include "Dialcove/Services/ContactSessionService.hpp"
#include "tests/Dialcove/Support/FakeAnswer.hpp"

#include <vector>

// A contacts worker that answers only when the test says so. Every call is recorded with what it
// was given and the answer it owes; `end` is answered at once unless `holdEnds` is set, since
// nobody waits for it. Whatever is still unanswered at the end fails with CancellationError; call
// failPending() and drain the event loop before the awaiting tasks' owners go.
class FakeContactSessionService final : public Dialcove::ContactSessionService {
public:
    struct Load {
        DialcoveCore::SessionID session;
        Dialcove::CancellationToken cancellation;
        FakeAnswer<void> answer;
    };
    struct Search {
        DialcoveCore::SessionID session;
        QString query;
        std::vector<DialcoveCore::ContactID> recentIDs;
        Dialcove::CancellationToken cancellation;
        FakeAnswer<std::vector<DialcoveCore::Contact>> answer;
    };
    struct LookUp {
        DialcoveCore::SessionID session;
        DialcoveCore::ContactID id;
        Dialcove::CancellationToken cancellation;
        FakeAnswer<std::optional<DialcoveCore::Contact>> answer;
    };
    struct End {
        DialcoveCore::SessionID session;
        FakeAnswer<void> answer;
    };

    std::vector<Load> loads;
    std::vector<Search> searches;
    std::vector<LookUp> lookUps;
    std::vector<End> ends;
    bool holdEnds = false;

    ~FakeContactSessionService() override { failPending(); }

    void failPending() {
        for (const auto& call : loads)
            call.answer.failIfPending();
        for (const auto& call : searches)
            call.answer.failIfPending();
        for (const auto& call : lookUps)
            call.answer.failIfPending();
        for (const auto& call : ends)
            call.answer.failIfPending();
    }

    QFuture<void> load(const DialcoveCore::SessionID& session,
                       const Dialcove::CancellationToken& cancellation) override {
        loads.push_back({session, cancellation, {}});
        return loads.back().answer.future();
    }

    QFuture<std::vector<DialcoveCore::Contact>>
    search(const DialcoveCore::SessionID& session, const QString& query,
           const std::vector<DialcoveCore::ContactID>& recentIDs,
           const Dialcove::CancellationToken& cancellation) override {
        searches.push_back({session, query, recentIDs, cancellation, {}});
        return searches.back().answer.future();
    }

    QFuture<std::optional<DialcoveCore::Contact>>
    contact(const DialcoveCore::SessionID& session, const DialcoveCore::ContactID& id,
            const Dialcove::CancellationToken& cancellation) override {
        lookUps.push_back({session, id, cancellation, {}});
        return lookUps.back().answer.future();
    }

    QFuture<void> end(const DialcoveCore::SessionID& session) override {
        ends.push_back({session, {}});
        if (!holdEnds)
            ends.back().answer.answer();
        return ends.back().answer.future();
    }
};
