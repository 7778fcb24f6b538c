#pragma once

// The one failure type of the Spotify link. Cases with a detail text compare their texts;
// nothing downstream reads the text, it is for people.

#include <cstddef>
#include <functional>
#include <string>
#include <variant>

#include "OrvelDomain/Overloaded.h"

namespace orvel {

class SpotifyBridgeError {
public:
    struct NotConnected {
        friend bool operator==(const NotConnected&, const NotConnected&) = default;
    };
    struct NothingPlaying {
        friend bool operator==(const NothingPlaying&, const NothingPlaying&) = default;
    };
    // The item's URI, or its type when the URI is empty.
    struct UnplayableOnSonos {
        std::string detail;
        friend bool operator==(const UnplayableOnSonos&, const UnplayableOnSonos&) = default;
    };
    struct AuthorizationFailed {
        std::string detail;
        friend bool operator==(const AuthorizationFailed&, const AuthorizationFailed&) = default;
    };
    struct Network {
        std::string detail;
        friend bool operator==(const Network&, const Network&) = default;
    };

    static SpotifyBridgeError notConnected() { return SpotifyBridgeError(NotConnected{}); }
    static SpotifyBridgeError nothingPlaying() { return SpotifyBridgeError(NothingPlaying{}); }
    static SpotifyBridgeError unplayableOnSonos(std::string detail) {
        return SpotifyBridgeError(UnplayableOnSonos{std::move(detail)});
    }
    static SpotifyBridgeError authorizationFailed(std::string detail) {
        return SpotifyBridgeError(AuthorizationFailed{std::move(detail)});
    }
    static SpotifyBridgeError network(std::string detail) {
        return SpotifyBridgeError(Network{std::move(detail)});
    }

    bool isNotConnected() const { return std::holds_alternative<NotConnected>(value_); }
    bool isNothingPlaying() const { return std::holds_alternative<NothingPlaying>(value_); }
    bool isUnplayableOnSonos() const { return std::holds_alternative<UnplayableOnSonos>(value_); }
    bool isAuthorizationFailed() const { return std::holds_alternative<AuthorizationFailed>(value_); }
    bool isNetwork() const { return std::holds_alternative<Network>(value_); }
    const UnplayableOnSonos* asUnplayableOnSonos() const { return std::get_if<UnplayableOnSonos>(&value_); }
    const AuthorizationFailed* asAuthorizationFailed() const {
        return std::get_if<AuthorizationFailed>(&value_);
    }
    const Network* asNetwork() const { return std::get_if<Network>(&value_); }

    // Position of the case in declaration order; also what the case feeds to hashing.
    std::size_t caseIndex() const { return value_.index(); }
    // The detail text, empty for the cases without one.
    const std::string& detail() const;
    // A short English description for logs and alerts ("network: token HTTP 500").
    std::string description() const;

    friend bool operator==(const SpotifyBridgeError&, const SpotifyBridgeError&) = default;

private:
    using Value = std::variant<NotConnected, NothingPlaying, UnplayableOnSonos, AuthorizationFailed, Network>;
    explicit SpotifyBridgeError(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::SpotifyBridgeError> {
    std::size_t operator()(const orvel::SpotifyBridgeError& e) const noexcept {
        return std::hash<std::size_t>{}(e.caseIndex()) * 31 + std::hash<std::string>{}(e.detail());
    }
};
