#pragma once

#include "Dialcove/Services/ContactActions.hpp"
#include "tests/Dialcove/Support/FakeAnswer.hpp"

#include <chrono>
#include <memory>
#include <vector>

// Sleeps that end when the test says so. Whatever is still asleep at the end is woken.
class FakeSleep {
public:
    struct Call {
        std::chrono::milliseconds delay;
        FakeAnswer<void> wake;
    };

    ~FakeSleep() { wakeAll(); }

    // The function to hand out; it records into this object, which must outlive its use.
    Dialcove::ContactActions::Sleep sleep() {
        return [this](std::chrono::milliseconds delay) {
            calls.push_back({delay, {}});
            return calls.back().wake.future();
        };
    }

    void wakeAll() {
        for (const auto& call : calls)
            if (!call.wake.isAnswered())
                call.wake.answer();
    }

    std::vector<Call> calls;
};
