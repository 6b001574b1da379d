#include "Dialcove/Async/TaskHandle.hpp"

#include "Dialcove/Async/AsyncLogging.hpp"
#include "Dialcove/Async/CancellationError.hpp"
#include "Dialcove/Async/MainThread.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>
#include <memory>
#include <utility>

namespace Dialcove::detail {

void TaskState::finish() {
    finished = true;
    // A waiter may start or await other tasks as it resumes: take the list first.
    std::vector<std::coroutine_handle<>> resumed;
    resumed.swap(waiting);
    for (std::coroutine_handle<> coroutine : resumed)
        coroutine.resume();
}

namespace {

// The suspended task, handed to the event loop. When the loop never runs it (the application
// quits first and drops its pending events), the frame is destroyed with it rather than leaked.
class PendingTurn {
public:
    explicit PendingTurn(std::coroutine_handle<> coroutine) : coroutine_(coroutine) {}
    ~PendingTurn() {
        if (coroutine_)
            coroutine_.destroy();
    }
    PendingTurn(const PendingTurn&) = delete;
    PendingTurn& operator=(const PendingTurn&) = delete;

    void resume() { std::exchange(coroutine_, nullptr).resume(); }

private:
    std::coroutine_handle<> coroutine_;
};

} // namespace

void NextTurn::await_suspend(std::coroutine_handle<> coroutine) const {
    assertMainThread();
    auto pending = std::make_shared<PendingTurn>(coroutine);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [pending] { pending->resume(); }, Qt::QueuedConnection);
}

void logTaskFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const CancellationError&) {
        // A cancelled task ending early is no failure.
    } catch (const std::exception& error) {
        qCWarning(lcTasks) << "task failed:" << error.what();
    } catch (...) {
        qCWarning(lcTasks) << "task failed";
    }
}

} // namespace Dialcove::detail
