#pragma once

// Names one command between the moment it is sent and the moment its result comes back.
// Tickets count up from 0 for the life of a state and are never reused.

#include <compare>
#include <cstdint>
#include <functional>

namespace orvel {

struct CommandTicket {
    std::int64_t value = 0;

    friend bool operator==(const CommandTicket&, const CommandTicket&) = default;
    friend auto operator<=>(const CommandTicket&, const CommandTicket&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::CommandTicket> {
    std::size_t operator()(const orvel::CommandTicket& ticket) const noexcept {
        return std::hash<std::int64_t>{}(ticket.value);
    }
};
