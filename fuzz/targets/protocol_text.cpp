// The small texts inside replies: integers, clock times, track and artwork URIs, speaker
// addresses and locations, Spotify URIs and share links (SpotifyURI::make reads both), speaker ids.

#include "FuzzInput.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/SpotifyURI.h"
#include "SonosProtocolBoundary/DIDLLite.h"
#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "SonosProtocolBoundary/TransportService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    static const auto speaker = *SpeakerAddress::make("127.0.0.1");
    const auto value = fuzz::text(data, size);
    (void)protocol_text::parseInteger(value, "value");
    (void)protocol_text::parseInteger(value, "value", 0, 100);
    (void)protocol_text::parseClockTime(value, "value");
    (void)TransportService::sourceOfURI(value);
    (void)didl::spotifyURIFromTrackURI(value);
    (void)didl::resolveArtworkURL(value, speaker);
    (void)SpeakerAddress::make(value);
    (void)speakerAddressFromLocation(value);
    (void)SpotifyURI::make(value);
    (void)SpeakerUUID::make(value);
    (void)SpeakerUUID::fromKey(value);
    return 0;
}
