#include "Dialcove/Async/TaskHandle.hpp"

#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace Dialcove;

namespace {

constexpr int kTimeout = 5000;

// What the bodies below saw, so the tests can look.
struct Journal : QObject {
    std::vector<std::string> entries;
    std::optional<TaskHandle> inner;
};

QCoro::Task<> record(CancellationToken token, QPointer<Journal> journal, std::string entry) {
    if (journal)
        journal->entries.push_back(entry + (token.isCancelled() ? " cancelled" : ""));
    co_return;
}

// Waits for another task, then writes down that it did.
QCoro::Task<> awaitInner(CancellationToken, QPointer<Journal> journal) {
    if (!journal)
        co_return;
    const TaskHandle inner = *journal->inner;
    co_await inner.completion();
    if (journal)
        journal->entries.push_back(std::string("after inner, finished ") +
                                   (inner.isFinished() ? "yes" : "no"));
}

QCoro::Task<> failing(CancellationToken, QPointer<Journal> journal) {
    journal->entries.push_back("about to fail");
    throw std::runtime_error("broken");
    co_return;
}

QCoro::Task<> takesReference(CancellationToken, const std::shared_ptr<int>& value,
                             QPointer<Journal> journal) {
    co_await Dialcove::detail::NextTurn{}; // the caller's frame is long gone by now
    journal->entries.push_back(std::to_string(*value));
}

bool waitFinished(const TaskHandle& task) {
    return QTest::qWaitFor([&] { return task.isFinished(); }, kTimeout);
}

} // namespace

TEST(TaskHandle, StartsOneTurnLaterNotInsideItsCreator) {
    Journal journal;
    const TaskHandle task = startTask(&record, QPointer(&journal), std::string("ran"));
    journal.entries.push_back("creator done");
    EXPECT_FALSE(task.isFinished());
    ASSERT_TRUE(waitFinished(task));
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"creator done", "ran"}));
}

TEST(TaskHandle, CancelSetsTheFlagTheBodySees) {
    Journal journal;
    const TaskHandle task = startTask(&record, QPointer(&journal), std::string("ran"));
    const TaskHandle copy = task;
    copy.cancel();
    EXPECT_TRUE(task.isCancelled());
    EXPECT_TRUE(task.token().isCancelled());
    ASSERT_TRUE(waitFinished(task));
    // Like any task, a cancelled one still runs its body; the body decides what to skip.
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"ran cancelled"}));
}

TEST(TaskHandle, HandlesAreEqualOnlyForTheSameTask) {
    Journal journal;
    const TaskHandle a = startTask(&record, QPointer(&journal), std::string("a"));
    const TaskHandle b = startTask(&record, QPointer(&journal), std::string("b"));
    const TaskHandle alsoA = a;
    EXPECT_EQ(a, alsoA);
    EXPECT_NE(a, b);
    EXPECT_NE(a.token(), b.token());
    ASSERT_TRUE(waitFinished(a) && waitFinished(b));
}

TEST(TaskHandle, CompletionResumesWaitersOnceTheBodyReturned) {
    Journal journal;
    journal.inner = startTask(&record, QPointer(&journal), std::string("inner"));
    const TaskHandle outer = startTask(&awaitInner, QPointer(&journal));
    ASSERT_TRUE(waitFinished(outer));
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"inner", "after inner, finished yes"}));

    // Awaiting a task that already finished does not suspend.
    journal.entries.clear();
    const TaskHandle late = startTask(&awaitInner, QPointer(&journal));
    ASSERT_TRUE(waitFinished(late));
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"after inner, finished yes"}));
}

TEST(TaskHandle, AThrowingBodyStillFinishes) {
    Journal journal;
    const TaskHandle task = startTask(&failing, QPointer(&journal));
    ASSERT_TRUE(waitFinished(task));
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"about to fail"}));
}

TEST(TaskHandle, ArgumentsOutliveTheCallerAndTheOwnerIsHeldWeakly) {
    auto journal = std::make_unique<Journal>();
    std::optional<TaskHandle> task;
    {
        auto value = std::make_shared<int>(42);
        task = startTask(&takesReference, value, QPointer(journal.get()));
    }
    ASSERT_TRUE(waitFinished(*task));
    EXPECT_EQ(journal->entries, (std::vector<std::string>{"42"}));

    // The owner goes before the task runs: the body finds its QPointer empty and does nothing.
    const TaskHandle orphan = startTask(&record, QPointer(journal.get()), std::string("too late"));
    journal.reset();
    EXPECT_TRUE(waitFinished(orphan));
}
