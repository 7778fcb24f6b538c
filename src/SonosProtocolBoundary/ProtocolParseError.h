#pragma once

// The one failure of every reply parser: what was wrong with the speaker's answer, as a single
// message fit for the network debug log.

#include <expected>
#include <string>

#include "OrvelDomain/Expected.h"

namespace orvel {

struct ProtocolParseError {
    std::string message;

    explicit ProtocolParseError(std::string message) : message(std::move(message)) {}

    friend bool operator==(const ProtocolParseError&, const ProtocolParseError&) = default;
};

template <class T>
using Parsed = std::expected<T, ProtocolParseError>;

// Shorthand for `return parseFailure("...")` in functions returning Parsed<T>.
inline std::unexpected<ProtocolParseError> parseFailure(std::string message) {
    return std::unexpected(ProtocolParseError(std::move(message)));
}

}  // namespace orvel
