#pragma once

#include "MurvelCommerceUpdatesCore/UpdateFailure.hpp"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <variant>

namespace MurvelCommerceUpdates {

using MurvelCommerceUpdatesCore::UpdateFailure;

// The manifest's bytes as the site sent them, or why there are none.
using FeedResult = std::variant<QByteArray, UpdateFailure>;

// Where the update checker gets the manifest's bytes from. Decoding them is the caller's.
class UpdateFeed {
public:
    virtual ~UpdateFeed() = default;

    // Starts one fetch. `done` runs once, on this thread's event loop, never before `fetch` returns.
    // Destroying `context` first abandons the fetch, and `done` never runs.
    virtual void fetch(QObject* context, std::function<void(FeedResult)> done) = 0;
};

} // namespace MurvelCommerceUpdates
