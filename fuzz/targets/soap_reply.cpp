// The body of a speaker's SOAP reply: the action's outputs (200) or a fault (500).
// Input: the action name on the first line, the body after it.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/SOAPClient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [action, body] = orvel::fuzz::splitFirstLine(orvel::fuzz::text(data, size));
    if (auto response = orvel::parseSOAPResponse(body, action)) (void)response->requiredOutput("CurrentURI");
    if (auto fault = orvel::parseSOAPFault(body)) (void)fault->detail();
    return 0;
}
