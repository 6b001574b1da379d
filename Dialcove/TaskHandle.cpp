#include "Dialcove/TaskHandle.hpp"

#include "Dialcove/CancellationError.hpp"
#include "Dialcove/DialcoveLogging.hpp"
#include "Dialcove/MainThread.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>

namespace Dialcove::detail {

void TaskState::finish() {
    finished = true;
    // A waiter may start or await other tasks as it resumes: take the list first.
    std::vector<std::coroutine_handle<>> resumed;
    resumed.swap(waiting);
    for (std::coroutine_handle<> coroutine : resumed)
        coroutine.resume();
}

void NextTurn::await_suspend(std::coroutine_handle<> coroutine) const {
    assertMainThread();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [coroutine] { coroutine.resume(); }, Qt::QueuedConnection);
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
