#include "DialcoveCore/ExternalActionState.hpp"

namespace DialcoveCore {

ExternalActionState ExternalActionState::finish(const ActionTicket& ticket, bool succeeded) const {
    if (kind_ != Kind::opening || ticket_ != ticket)
        return *this;
    return succeeded ? idle() : failed(ticket);
}

} // namespace DialcoveCore
