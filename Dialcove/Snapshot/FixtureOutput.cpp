#include "Dialcove/Snapshot/FixtureOutput.hpp"

namespace Dialcove {

QCoro::Task<bool> FixtureOutput::open(DialcoveCore::ActionRequest) {
    co_return succeeds_;
}

QCoro::Task<bool> FixtureOutput::openContact(DialcoveCore::ContactID) {
    co_return succeeds_;
}

} // namespace Dialcove
