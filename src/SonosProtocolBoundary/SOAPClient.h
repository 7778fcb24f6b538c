#pragma once

// Sends SOAPRequests to a speaker and reads the answer: the output arguments of a 200 reply, or
// the speaker's refusal (a SOAP fault with its UPnP error code). Not reaching the speaker, a
// fault, and an answer that makes no sense are three different failures, because the household
// treats them differently (unreachable, rejected, unreachable for this read).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/Overloaded.h"
#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPRequest.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

// The output arguments of one action, in reply order.
struct SOAPResponse {
    std::vector<std::pair<std::string, std::string>> outputs;

    // The text of the named output, or nullptr when the reply does not carry it.
    const std::string* output(std::string_view name) const;
    // The named output, or a parse error naming the action's missing output.
    Parsed<std::string> requiredOutput(std::string_view name) const;

    friend bool operator==(const SOAPResponse&, const SOAPResponse&) = default;
};

struct SOAPFault {
    // The UPnP error code from the fault's detail (701, 800, ...), when the speaker gave one.
    std::optional<std::int64_t> errorCode;
    std::string faultString;

    // "UPnP error 701" or the fault string: the detail of a rejected command.
    std::string detail() const;

    friend bool operator==(const SOAPFault&, const SOAPFault&) = default;
};

class SOAPError {
public:
    struct Transport {
        TransportError error;
        friend bool operator==(const Transport&, const Transport&) = default;
    };
    struct Fault {
        SOAPFault fault;
        friend bool operator==(const Fault&, const Fault&) = default;
    };
    // The speaker answered with a status that is neither 200 nor a SOAP fault.
    struct UnexpectedStatus {
        int statusCode;
        friend bool operator==(const UnexpectedStatus&, const UnexpectedStatus&) = default;
    };
    // The speaker answered 200 with something that is not the expected envelope.
    struct MalformedReply {
        ProtocolParseError error;
        friend bool operator==(const MalformedReply&, const MalformedReply&) = default;
    };

    static SOAPError transport(TransportError error) { return SOAPError(Transport{std::move(error)}); }
    static SOAPError fault(SOAPFault fault) { return SOAPError(Fault{std::move(fault)}); }
    static SOAPError unexpectedStatus(int statusCode) { return SOAPError(UnexpectedStatus{statusCode}); }
    static SOAPError malformedReply(ProtocolParseError error) { return SOAPError(MalformedReply{std::move(error)}); }

    bool isTransport() const { return std::holds_alternative<Transport>(value_); }
    bool isFault() const { return std::holds_alternative<Fault>(value_); }
    bool isUnexpectedStatus() const { return std::holds_alternative<UnexpectedStatus>(value_); }
    bool isMalformedReply() const { return std::holds_alternative<MalformedReply>(value_); }
    const TransportError& asTransport() const { return std::get<Transport>(value_).error; }
    const SOAPFault& asFault() const { return std::get<Fault>(value_).fault; }
    int asUnexpectedStatus() const { return std::get<UnexpectedStatus>(value_).statusCode; }
    const ProtocolParseError& asMalformedReply() const { return std::get<MalformedReply>(value_).error; }

    // Whether the fault carries this UPnP error code.
    bool isFaultWithCode(std::int64_t code) const { return isFault() && asFault().errorCode == code; }

    std::string message() const;

    friend bool operator==(const SOAPError& a, const SOAPError& b) { return a.value_ == b.value_; }

private:
    using Value = std::variant<Transport, Fault, UnexpectedStatus, MalformedReply>;
    explicit SOAPError(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

using SOAPResult = std::expected<SOAPResponse, SOAPError>;

// Reads the body of a 200 reply: the output arguments of `action`'s response element.
Parsed<SOAPResponse> parseSOAPResponse(std::string_view body, std::string_view action);
// Reads the body of a 500 reply; nullopt when it holds no SOAP fault.
std::optional<SOAPFault> parseSOAPFault(std::string_view body);

// An idle household answers most reads of a sweep with the very bytes of the last sweep; the
// client keeps the last parsed answer to each read (per speaker and request) and does not parse
// those bytes again. Different bytes are always parsed.
class SOAPClient {
public:
    // Answers kept at most; past that the memory starts afresh.
    static constexpr std::size_t maxRememberedReplies = 1024;

    explicit SOAPClient(HttpClient& http, std::uint16_t port = SpeakerAddress::defaultPort)
        : http_(http), port_(port) {}

    // The client and its HttpClient must outlive the call. A read is sent over a kept
    // connection and may be sent twice; anything else is sent once, on a new connection.
    QCoro::Task<SOAPResult> call(SpeakerAddress speaker, SOAPRequest request, HttpLimits limits);

    // Replies parsed so far, and replies that were the bytes of the last answer to the same read.
    std::uint64_t parsedReplies() const { return parsed_; }
    std::uint64_t repeatedReplies() const { return repeated_; }

private:
    struct Remembered {
        QByteArray body;
        SOAPResponse response;
    };
    HttpClient& http_;
    std::uint16_t port_;
    std::map<std::string, Remembered> remembered_;
    std::uint64_t parsed_ = 0;
    std::uint64_t repeated_ = 0;
};

}  // namespace orvel
