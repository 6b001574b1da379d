#pragma once

#include <chrono>
#include <functional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

namespace TestSupport {

// Runs the event loop until `condition` holds or `timeout` passes; returns whether it held.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Delivers what is already queued and what that queues in turn, a bounded number of turns deep.
inline void drainEvents(int turns = 10) {
    for (int turn = 0; turn < turns; ++turn)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace TestSupport
