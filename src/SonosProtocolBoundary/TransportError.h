#pragma once

// Why an HTTP exchange produced no usable answer. A speaker that answered at all, whatever the
// status code, is not a transport error.

#include <string>

namespace orvel {

struct TransportError {
    enum class Kind {
        connectionRefused,
        // No byte moved for the idle time-out, or the whole exchange outran its deadline.
        timedOut,
        // The body (announced or received) exceeded the size cap.
        bodyTooLarge,
        // Anything else below HTTP: reset, unreachable host, protocol error.
        networkFailure,
    };

    Kind kind = Kind::networkFailure;
    std::string detail;

    static TransportError connectionRefused(std::string detail) { return {Kind::connectionRefused, std::move(detail)}; }
    static TransportError timedOut(std::string detail) { return {Kind::timedOut, std::move(detail)}; }
    static TransportError bodyTooLarge(std::string detail) { return {Kind::bodyTooLarge, std::move(detail)}; }
    static TransportError networkFailure(std::string detail) { return {Kind::networkFailure, std::move(detail)}; }

    std::string message() const;

    friend bool operator==(const TransportError&, const TransportError&) = default;
};

}  // namespace orvel
