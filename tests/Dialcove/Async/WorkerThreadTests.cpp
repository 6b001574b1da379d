#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Async/WorkerThread.hpp"

#include <QFuture>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <qcoro/qcorofuture.h>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Dialcove;

namespace {

constexpr int kTimeout = 5000;

struct Outcome : QObject {
    std::vector<int> values;
    std::string error;
    bool resumedOnMainThread = false;
};

QCoro::Task<> awaitSquare(CancellationToken, QPointer<Outcome> outcome, WorkerThread* worker, int n) {
    const int square = co_await worker->call([n] { return n * n; });
    if (!outcome)
        co_return;
    outcome->values.push_back(square);
    outcome->resumedOnMainThread = QThread::currentThread() == outcome->thread();
}

QCoro::Task<> awaitFailure(CancellationToken, QPointer<Outcome> outcome, WorkerThread* worker) {
    try {
        co_await worker->call([]() -> int { throw std::runtime_error("store failed"); });
    } catch (const std::runtime_error& error) {
        if (outcome)
            outcome->error = error.what();
    }
}

// A long enumeration on the worker that polls the caller's token once per item.
QCoro::Task<> countUntilCancelled(CancellationToken token, QPointer<Outcome> outcome, WorkerThread* worker,
                                  std::atomic<int>* reached) {
    QFuture<void> counting = worker->call([token, reached] {
        for (int item = 0;; ++item) {
            token.throwIfCancelled();
            reached->store(item);
            std::this_thread::yield();
        }
    });
    try {
        co_await counting;
    } catch (const CancellationError& error) {
        if (outcome)
            outcome->error = error.what();
    }
}

} // namespace

TEST(WorkerThread, RunsCallsOffTheMainThreadInTheOrderMade) {
    WorkerThread worker("test worker");
    std::vector<int> order; // touched only inside calls, so never at the same time
    std::vector<QFuture<bool>> futures;
    for (int i = 0; i < 100; ++i)
        futures.push_back(worker.call([&order, &worker, i] {
            order.push_back(i);
            return worker.isCurrent();
        }));
    for (auto& future : futures)
        EXPECT_TRUE(future.result());
    EXPECT_FALSE(worker.isCurrent());
    std::vector<int> expected(100);
    for (int i = 0; i < 100; ++i)
        expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(order, expected);
}

TEST(WorkerThread, AnswersResumeTheAwaitingTaskOnTheMainThread) {
    WorkerThread worker("test worker");
    Outcome outcome;
    const TaskHandle task = startTask(&awaitSquare, QPointer(&outcome), &worker, 7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return task.isFinished(); }, kTimeout));
    EXPECT_EQ(outcome.values, std::vector<int>{49});
    EXPECT_TRUE(outcome.resumedOnMainThread);
}

TEST(WorkerThread, AFailedCallRethrowsInTheAwaitingTask) {
    WorkerThread worker("test worker");
    Outcome outcome;
    const TaskHandle task = startTask(&awaitFailure, QPointer(&outcome), &worker);
    ASSERT_TRUE(QTest::qWaitFor([&] { return task.isFinished(); }, kTimeout));
    EXPECT_EQ(outcome.error, "store failed");
}

TEST(WorkerThread, CancellingTheTaskStopsTheCallAtItsNextPoll) {
    WorkerThread worker("test worker");
    Outcome outcome;
    std::atomic<int> reached{-1};
    const TaskHandle task = startTask(&countUntilCancelled, QPointer(&outcome), &worker, &reached);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reached.load() >= 10; }, kTimeout));
    task.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return task.isFinished(); }, kTimeout));
    EXPECT_EQ(outcome.error, "cancelled");

    // The worker is free again for the next call.
    EXPECT_EQ(worker.call([] { return 5; }).result(), 5);
}

TEST(WorkerThread, StoppingRunsEveryCallAlreadyMade) {
    std::atomic<int> ran{0};
    std::vector<QFuture<void>> futures;
    {
        WorkerThread worker("test worker");
        for (int i = 0; i < 50; ++i)
            futures.push_back(worker.call([&ran] { ++ran; }));
    }
    EXPECT_EQ(ran.load(), 50);
    for (const auto& future : futures) {
        EXPECT_TRUE(future.isFinished());
        EXPECT_FALSE(future.isCanceled());
    }
}
