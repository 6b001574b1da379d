#pragma once

#include "Dialcove/Async/CancellationError.hpp"

#include <QFuture>
#include <QPromise>
#include <exception>
#include <memory>
#include <utility>

// One answer a fake service owes: the future it handed out finishes only when the test calls
// answer() or fail(), so a test decides exactly when (and in which order) each answer lands.
// Copies share the promise. The awaiting task resumes on a later turn of the event loop; drain it.
template <typename T> class FakeAnswer {
public:
    FakeAnswer() : promise_(std::make_shared<QPromise<T>>()) { promise_->start(); }

    QFuture<T> future() const { return promise_->future(); }
    bool isAnswered() const { return promise_->future().isFinished(); }

    template <typename... Value> void answer(Value&&... value) const {
        if constexpr (sizeof...(Value) > 0)
            promise_->addResult(std::forward<Value>(value)...);
        promise_->finish();
    }

    template <typename Error> void fail(Error error) const {
        promise_->setException(std::make_exception_ptr(std::move(error)));
        promise_->finish();
    }

    // What a fake does with an answer nobody gave: a future left unfinished would keep its task
    // suspended past the end of the test.
    void failIfPending() const {
        if (!isAnswered())
            fail(Dialcove::CancellationError());
    }

private:
    std::shared_ptr<QPromise<T>> promise_;
};
