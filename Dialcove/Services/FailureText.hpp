#pragma once

#include <QString>
#include <exception>

namespace Dialcove {

// What a failed call says, for the log: the exception's own text, or "unknown error" for one that
// carries none.
QString failureText(const std::exception_ptr& failure);

} // namespace Dialcove
