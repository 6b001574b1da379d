#pragma once

#include <utility>

namespace Dialcove {

// The setter of an observable property: stores `value` and calls `notify` (typically emitting the
// property's signal) only when it differs from what `field` holds. True when it changed.
template <typename T, typename U, typename Notify> bool updateProperty(T& field, U&& value, Notify&& notify) {
    if (field == value)
        return false;
    field = std::forward<U>(value);
    std::forward<Notify>(notify)();
    return true;
}

} // namespace Dialcove
