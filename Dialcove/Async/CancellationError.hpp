#pragma once

#include <exception>

namespace Dialcove {

// The answer of a call whose task was cancelled, or that no longer counts. Callers drop it.
class CancellationError : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace Dialcove
