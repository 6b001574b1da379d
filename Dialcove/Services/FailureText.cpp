#include "Dialcove/Services/FailureText.hpp"

#include <stdexcept>

namespace Dialcove {

QString failureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

} // namespace Dialcove
