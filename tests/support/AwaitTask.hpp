#pragma once

#include "tests/support/EventLoop.hpp"

#include <chrono>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>

namespace TestSupport {

namespace detail {
template <typename T>
QCoro::Task<> keepResult(QCoro::Task<T> task, std::shared_ptr<std::optional<T>> result) {
    *result = co_await task;
}
} // namespace detail

// Runs the event loop until `task` has finished or `timeout` passes; its result, or none.
template <typename T>
std::optional<T> awaitTask(QCoro::Task<T> task, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    auto result = std::make_shared<std::optional<T>>();
    const QCoro::Task<> running = detail::keepResult(std::move(task), result);
    waitUntil([&] { return result->has_value(); }, timeout);
    return *result;
}

} // namespace TestSupport
