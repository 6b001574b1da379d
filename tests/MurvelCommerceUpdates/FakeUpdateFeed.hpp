#pragma once

#include "MurvelCommerceUpdates/UpdateFeed.hpp"

#include <QPointer>
#include <deque>

namespace TestSupport {

// A feed the test answers. It keeps the feed's promise: nothing reaches a destroyed context.
class FakeUpdateFeed final : public MurvelCommerceUpdates::UpdateFeed {
public:
    void fetch(QObject* context, std::function<void(MurvelCommerceUpdates::FeedResult)> done) override {
        ++fetches;
        if (immediate) {
            done(*immediate); // answers inside fetch, which the checker must still handle later
            return;
        }
        pending_.push_back({context, std::move(done)});
    }

    // Answers the oldest fetch; false when none waits.
    bool answer(MurvelCommerceUpdates::FeedResult result) {
        if (pending_.empty())
            return false;
        Pending next = std::move(pending_.front());
        pending_.pop_front();
        if (next.context)
            next.done(std::move(result));
        return true;
    }

    bool waiting() const { return !pending_.empty(); }

    int fetches = 0;
    // When set, every fetch answers this at once.
    std::optional<MurvelCommerceUpdates::FeedResult> immediate;

private:
    struct Pending {
        QPointer<QObject> context;
        std::function<void(MurvelCommerceUpdates::FeedResult)> done;
    };
    std::deque<Pending> pending_;
};

} // namespace TestSupport
