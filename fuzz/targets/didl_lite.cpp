// DIDL-Lite track metadata and queue pages.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/DIDLLite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto speaker = *orvel::SpeakerAddress::make("127.0.0.1");
    const auto document = orvel::fuzz::text(data, size);
    (void)orvel::didl::parseItems(document, speaker);
    (void)orvel::didl::parseTrackMetadata(document, speaker);
    return 0;
}
