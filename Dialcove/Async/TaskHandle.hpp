#pragma once

#include "Dialcove/Async/CancellationToken.hpp"

#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>
#include <type_traits>
#include <vector>

namespace Dialcove {

namespace detail {

// What a task's handles share: its cancel flag, whether its body has returned, and the
// coroutines waiting for that.
struct TaskState {
    CancellationToken token;
    bool finished = false;
    std::vector<std::coroutine_handle<>> waiting;

    void finish();
};

// Suspends the coroutine until the next turn of the main event loop.
struct NextTurn {
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> coroutine) const;
    void await_resume() const noexcept {}
};

void logTaskFailure(const std::exception_ptr& failure);

} // namespace detail

// The handle of a main-thread task with no result that never fails. Copies name the same task;
// two handles are equal when they do. Only startTask makes one.
class TaskHandle {
public:
    // Sets the task's cancel flag. The body sees it through its token; nothing is interrupted.
    void cancel() const { state_->token.cancel(); }
    bool isCancelled() const { return state_->token.isCancelled(); }
    // True once the body has returned (or thrown).
    bool isFinished() const { return state_->finished; }
    CancellationToken token() const { return state_->token; }

    // `co_await handle.completion()` resumes once the body has returned: at once when it already has.
    struct Completion {
        std::shared_ptr<detail::TaskState> state;

        bool await_ready() const noexcept { return state->finished; }
        void await_suspend(std::coroutine_handle<> coroutine) const { state->waiting.push_back(coroutine); }
        void await_resume() const noexcept {}
    };
    Completion completion() const { return {state_}; }

    friend bool operator==(const TaskHandle&, const TaskHandle&) = default;

private:
    explicit TaskHandle(std::shared_ptr<detail::TaskState> state) : state_(std::move(state)) {}

    template <typename Body, typename... Args> friend TaskHandle startTask(Body body, Args... args);

    std::shared_ptr<detail::TaskState> state_;
};

namespace detail {

template <typename Body, typename... Args>
QCoro::Task<> runTask(std::shared_ptr<TaskState> state, Body body, Args... args) {
    co_await NextTurn{};
    try {
        // The arguments live in this frame until the body has returned, so the body may take
        // them by reference as safely as by value.
        co_await std::invoke(body, state->token, args...);
    } catch (...) {
        logTaskFailure(std::current_exception());
    }
    state->finish();
}

} // namespace detail

// Starts `body(token, args...)` as a main-thread task one turn of the event loop from now, as a
// task started from the main thread runs after the code that started it, and returns its handle.
// The body is a coroutine returning QCoro::Task<>; it polls its token (cancelling the handle sets
// it) and holds its owner by QPointer, checking it after every co_await. The arguments are
// copied into the task. A body that throws is logged: the task still finishes, never fails.
//
// A body must not be a capturing lambda: its captures would die with the lambda while the
// coroutine still runs. Use a function, a static member function or a capture-less lambda and
// pass what it needs as arguments:
//
//   static QCoro::Task<> run(CancellationToken token, QPointer<ContactSearch> self, QString query);
//   task = startTask(&ContactSearch::run, QPointer(this), query);
//
// g++ 12 destroys a temporary twice when it has a destructor and stands inside a co_await
// expression (`co_await f(std::string("x"))`, `co_await worker.call([token] {...})`). Inside a
// body, bind such values to locals first: `auto answer = worker.call(job); co_await answer;`.
template <typename Body, typename... Args> TaskHandle startTask(Body body, Args... args) {
    static_assert(std::is_function_v<std::remove_pointer_t<Body>> || std::is_empty_v<Body>,
                  "a task body holds no captures: pass them as arguments");
    static_assert(std::is_invocable_r_v<QCoro::Task<>, Body&, const CancellationToken&, Args&...>,
                  "a task body is a coroutine taking the token, then the arguments");
    auto state = std::make_shared<detail::TaskState>();
    // The coroutine frame owns itself once the returned QCoro::Task is dropped here.
    detail::runTask(state, std::move(body), std::move(args)...);
    return TaskHandle(std::move(state));
}

} // namespace Dialcove
