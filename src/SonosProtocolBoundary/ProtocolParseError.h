#pragma once

// The one failure of every reply parser: what was wrong with the speaker's answer, as a single
// message fit for the network debug log, and whether the answer was refused for its size alone
// (a document past the parser's limits, a household with more speakers than are taken).

#include <expected>
#include <string>

#include "OrvelDomain/Expected.h"

namespace orvel {

struct ProtocolParseError {
    enum class Kind { malformed, tooLarge };

    std::string message;
    Kind kind = Kind::malformed;

    explicit ProtocolParseError(std::string message, Kind kind = Kind::malformed)
        : message(std::move(message)), kind(kind) {}

    bool isTooLarge() const { return kind == Kind::tooLarge; }

    friend bool operator==(const ProtocolParseError&, const ProtocolParseError&) = default;
};

template <class T>
using Parsed = std::expected<T, ProtocolParseError>;

// Shorthand for `return parseFailure("...")` in functions returning Parsed<T>.
inline std::unexpected<ProtocolParseError> parseFailure(std::string message) {
    return std::unexpected(ProtocolParseError(std::move(message)));
}
// The same for an answer refused for its size.
inline std::unexpected<ProtocolParseError> tooLargeFailure(std::string message) {
    return std::unexpected(ProtocolParseError(std::move(message), ProtocolParseError::Kind::tooLarge));
}

}  // namespace orvel
