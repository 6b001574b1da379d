#include "Dialcove/Async/CancellationToken.hpp"

#include "Dialcove/Async/CancellationError.hpp"

namespace Dialcove {

void CancellationToken::throwIfCancelled() const {
    if (isCancelled())
        throw CancellationError();
}

} // namespace Dialcove
