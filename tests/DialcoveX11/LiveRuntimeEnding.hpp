#pragma once

#include "Dialcove/Shell/LiveRuntime.hpp"
#include "tests/Dialcove/Support/FakeContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"
#include "tests/support/EventLoop.hpp"

#include <memory>

// Ends a runtime built over the fake services: whatever the fakes still hold fails, so no task
// waits on them, then the runtime stops and goes, and every event it queued runs.
inline void endLiveRuntime(std::unique_ptr<Dialcove::LiveRuntime>& runtime, FakeContactSessionService& worker,
                           FakeContactOutputService& output) {
    if (!runtime)
        return;
    TestSupport::drainEvents();
    worker.failPending();
    output.failPending();
    TestSupport::drainEvents();
    runtime->stop();
    runtime.reset();
    TestSupport::drainEvents();
}
