#pragma once

// One SOAP call: a service, an action and its input arguments in the order the action declares
// them. Builds the SOAP 1.1 envelope and the SOAPACTION header value.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SonosProtocolBoundary/UPnPService.h"

namespace orvel {

struct SOAPRequest {
    using Argument = std::pair<std::string, std::string>;

    UPnPService service;
    std::string action;
    std::vector<Argument> arguments;

    // The UTF-8 body: envelope, body, the action element in the service's namespace, and one
    // element per argument in order with its value escaped.
    std::string envelope() const;
    // "\"{serviceType}#{action}\"", quotes included.
    std::string soapAction() const;
    // Reads (Get… and Browse) change nothing on the speaker: they may be sent twice.
    bool isRead() const { return action.starts_with("Get") || action == "Browse"; }

    friend bool operator==(const SOAPRequest&, const SOAPRequest&) = default;
};

// Escapes & < > " ' (and carriage returns, which XML readers would otherwise turn into line
// feeds). Characters that XML 1.0 cannot carry at all (most C0 controls) are dropped, since the
// speaker would refuse the whole envelope for one of them; invalid UTF-8 becomes U+FFFD.
std::string xmlEscaped(std::string_view text);

}  // namespace orvel
