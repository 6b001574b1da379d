#pragma once

#include <QFuture>
#include <QPromise>
#include <QString>
#include <QThread>
#include <exception>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace Dialcove {

// One dedicated thread that runs calls one at a time, in the order they were made: the
// contacts worker's executor. State touched only inside calls needs no lock. Each call is
// answered through a QFuture, which a main-thread coroutine co_awaits (resuming on the main
// thread); a call that throws hands its exception to the future. Cancellation is the caller's:
// a call is given the caller's CancellationToken and polls it.
//
//   QFuture<int> answer = worker.call([token] { return countContacts(token); });
//   const int count = co_await answer; // a local, not a temporary: see TaskHandle.hpp on g++ 12
class WorkerThread {
public:
    explicit WorkerThread(const QString& name);
    // Runs every call already made, then stops the thread. A long call should be cancelled first.
    ~WorkerThread();

    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // True when called from inside a call.
    bool isCurrent() const;

    // Queues `function` behind every call made before it.
    template <typename Function> auto call(Function function) -> QFuture<std::invoke_result_t<Function&>> {
        using Result = std::invoke_result_t<Function&>;
        auto promise = std::make_shared<QPromise<Result>>();
        // Started here, not on the worker: a future that is not yet started counts as done, and a
        // caller blocking on it would read a result that is not there.
        promise->start();
        QFuture<Result> future = promise->future();
        auto shared = std::make_shared<Function>(std::move(function));
        post([promise, shared] {
            try {
                if constexpr (std::is_void_v<Result>)
                    (*shared)();
                else
                    promise->addResult((*shared)());
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        });
        return future;
    }

private:
    void post(std::function<void()> job);

    QThread thread_;
    QObject* context_ = nullptr; // lives on thread_; queued calls to it keep their order
};

} // namespace Dialcove
