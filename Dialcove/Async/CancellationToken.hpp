#pragma once

#include <atomic>
#include <memory>

namespace Dialcove {

// A shared cancel flag. Copies share the flag; a task hands its token to the worker, which polls
// it from its own thread, so reading and setting it are atomic.
class CancellationToken {
public:
    CancellationToken() : flag_(std::make_shared<std::atomic<bool>>(false)) {}

    void cancel() const { flag_->store(true, std::memory_order_release); }
    bool isCancelled() const { return flag_->load(std::memory_order_acquire); }
    // Throws CancellationError once the flag is set.
    void throwIfCancelled() const;

    // Equal when they share one flag.
    friend bool operator==(const CancellationToken&, const CancellationToken&) = default;

private:
    std::shared_ptr<std::atomic<bool>> flag_;
};

} // namespace Dialcove
