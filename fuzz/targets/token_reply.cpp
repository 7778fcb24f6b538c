// Replies of the accounts service's token endpoint. Input: the status on the first line, the
// body after it.

#include "FuzzInput.h"
#include "SpotifyBridge/TokenReply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [head, body] = orvel::fuzz::splitFirstLine(orvel::fuzz::text(data, size));
    (void)orvel::parseTokenReply(orvel::fuzz::statusFrom(head, 200), body);
    return 0;
}
