#pragma once

#include "DialcoveCore/ActionTicket.hpp"

#include <optional>

namespace DialcoveCore {

// The state of one hand-off to another program: opening or failed for an action ticket, or idle.
// Its owner enters `opening` by setting the value.
class ExternalActionState {
public:
    enum class Kind { opening, failed, idle };

    static ExternalActionState opening(ActionTicket ticket) { return {Kind::opening, std::move(ticket)}; }
    static ExternalActionState failed(ActionTicket ticket) { return {Kind::failed, std::move(ticket)}; }
    static ExternalActionState idle() { return {Kind::idle}; }

    Kind kind() const { return kind_; }
    // Present for opening and failed.
    const std::optional<ActionTicket>& ticket() const { return ticket_; }

    // Opening `ticket` ends idle on success and failed otherwise; any other state, or another ticket,
    // stays as it is.
    ExternalActionState finish(const ActionTicket& ticket, bool succeeded) const;

    friend bool operator==(const ExternalActionState&, const ExternalActionState&) = default;

private:
    ExternalActionState(Kind kind, std::optional<ActionTicket> ticket = std::nullopt)
        : kind_(kind), ticket_(std::move(ticket)) {}

    Kind kind_;
    std::optional<ActionTicket> ticket_;
};

} // namespace DialcoveCore
