#include "Dialcove/Snapshot/FixturePermission.hpp"

#include <QPromise>

namespace Dialcove {

QFuture<void> FixturePermission::request() {
    status_ = ContactPermission::allowed;
    QPromise<void> promise;
    promise.start();
    promise.finish();
    return promise.future();
}

} // namespace Dialcove
