#pragma once

#include "Dialcove/Services/ContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeAnswer.hpp"

#include <qcoro/qcorofuture.h>
#include <vector>

// An output whose copies succeed or fail as told and whose URL and card openings the test answers.
// What is still unanswered at the end reports failure, as the service does rather than throw; call
// failPending() and drain the event loop before the awaiting tasks' owners go.
class FakeContactOutputService final : public Dialcove::ContactOutputService {
public:
    struct Open {
        DialcoveCore::ActionRequest request;
        FakeAnswer<bool> answer;
    };
    struct CardOpen {
        DialcoveCore::ContactID id;
        FakeAnswer<bool> answer;
    };

    std::vector<std::string> copies;
    bool copySucceeds = true;
    std::vector<Open> opens;
    std::vector<CardOpen> cards;

    ~FakeContactOutputService() override { failPending(); }

    void failPending() {
        for (const auto& call : opens)
            if (!call.answer.isAnswered())
                call.answer.answer(false);
        for (const auto& call : cards)
            if (!call.answer.isAnswered())
                call.answer.answer(false);
    }

    bool copy(const std::string& text) override {
        copies.push_back(text);
        return copySucceeds;
    }

    QCoro::Task<bool> open(DialcoveCore::ActionRequest request) override {
        opens.push_back({std::move(request), {}});
        const QFuture<bool> answer = opens.back().answer.future();
        co_return co_await answer;
    }

    QCoro::Task<bool> openContact(DialcoveCore::ContactID id) override {
        cards.push_back({std::move(id), {}});
        const QFuture<bool> answer = cards.back().answer.future();
        co_return co_await answer;
    }
};
