// Replies of the Spotify Web API: what is playing, the queue, the profile, and the
// Retry-After header. Input: the status (also read as the header) on the first line, the body
// after it.

#include "FuzzInput.h"
#include "SpotifyBridge/ReplyReading.h"
#include "SpotifyBridge/WebAPI.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    const auto [head, body] = fuzz::splitFirstLine(fuzz::text(data, size));
    (void)WebAPI::parseCurrentlyPlaying(body);
    (void)WebAPI::parseQueueData(body);
    (void)WebAPI::parseProfileName(fuzz::statusFrom(head, 200), body);
    (void)reply::retryAfterSeconds(head);
    return 0;
}
