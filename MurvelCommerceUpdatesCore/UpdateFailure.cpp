#include "MurvelCommerceUpdatesCore/UpdateFailure.hpp"

namespace MurvelCommerceUpdatesCore {

std::string_view name(UpdateFailure failure) {
    switch (failure) {
    case UpdateFailure::unreachable:
        return "unreachable";
    case UpdateFailure::unreadable:
        return "unreadable";
    case UpdateFailure::unknownFormat:
        return "unknownFormat";
    }
    return "unreachable";
}

} // namespace MurvelCommerceUpdatesCore
