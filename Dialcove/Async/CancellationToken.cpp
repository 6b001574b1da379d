#include "Dialcove/CancellationToken.hpp"

#include "Dialcove/CancellationError.hpp"

namespace Dialcove {

void CancellationToken::throwIfCancelled() const {
    if (isCancelled())
        throw CancellationError();
}

} // namespace Dialcove
