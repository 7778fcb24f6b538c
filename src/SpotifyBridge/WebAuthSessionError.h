#pragma once

// Why a browser sign-in ended without a callback. The texts are for people: the account link
// shows them as the reason its sign-in failed.

#include <string>
#include <variant>

#include "OrvelDomain/Overloaded.h"

namespace orvel {

class WebAuthSessionError {
public:
    // The sign-in page or the callback scheme handed to the session is unusable.
    struct InvalidRequest {
        std::string detail;
        friend bool operator==(const InvalidRequest&, const InvalidRequest&) = default;
    };
    // The desktop could not start a browser for the sign-in page.
    struct BrowserUnavailable {
        std::string detail;
        friend bool operator==(const BrowserUnavailable&, const BrowserUnavailable&) = default;
    };
    struct Cancelled {
        friend bool operator==(const Cancelled&, const Cancelled&) = default;
    };
    struct TimedOut {
        friend bool operator==(const TimedOut&, const TimedOut&) = default;
    };

    static WebAuthSessionError invalidRequest(std::string detail) {
        return WebAuthSessionError(InvalidRequest{std::move(detail)});
    }
    static WebAuthSessionError browserUnavailable(std::string detail) {
        return WebAuthSessionError(BrowserUnavailable{std::move(detail)});
    }
    static WebAuthSessionError cancelled() { return WebAuthSessionError(Cancelled{}); }
    static WebAuthSessionError timedOut() { return WebAuthSessionError(TimedOut{}); }

    bool isInvalidRequest() const { return std::holds_alternative<InvalidRequest>(value_); }
    bool isBrowserUnavailable() const { return std::holds_alternative<BrowserUnavailable>(value_); }
    bool isCancelled() const { return std::holds_alternative<Cancelled>(value_); }
    bool isTimedOut() const { return std::holds_alternative<TimedOut>(value_); }
    const InvalidRequest* asInvalidRequest() const { return std::get_if<InvalidRequest>(&value_); }
    const BrowserUnavailable* asBrowserUnavailable() const { return std::get_if<BrowserUnavailable>(&value_); }

    // One readable sentence ("The sign-in was cancelled.").
    std::string description() const;

    friend bool operator==(const WebAuthSessionError&, const WebAuthSessionError&) = default;

private:
    using Value = std::variant<InvalidRequest, BrowserUnavailable, Cancelled, TimedOut>;
    explicit WebAuthSessionError(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel
