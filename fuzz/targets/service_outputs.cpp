// The outputs of the transport, position, media, browse, volume, queue and property actions,
// as they arrive: a SOAP reply envelope. Every reader sees every reply, so a reader meets
// outputs shaped for another action too.
// Input: the action name on the first line, the reply body after it.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/QueueService.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SpotifyOnSonos.h"
#include "SonosProtocolBoundary/StoredPresetList.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "SonosProtocolBoundary/VolumeService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    static const auto speaker = *SpeakerAddress::make("127.0.0.1");
    const auto [action, body] = fuzz::splitFirstLine(fuzz::text(data, size));
    auto response = parseSOAPResponse(body, action);
    if (!response) return 0;

    auto transport = TransportService::parseTransportInfo(*response);
    auto position = TransportService::parsePositionInfo(*response, speaker);
    auto media = TransportService::parseMediaInfo(*response, speaker);
    if (transport && position && media)
        (void)TransportService::playbackState(*transport, *position, *media, Date());
    (void)QueueService::parseBrowse(*response, 0, speaker);
    (void)QueueService::parseBrowse(*response, 500, speaker);
    (void)VolumeService::parseVolume(*response);
    (void)SpotifyOnSonos::parseAddToQueue(*response);
    if (auto value = SystemPropertiesService::stringValue(SOAPResult(*response)); value && *value)
        (void)StoredPresetList::read(**value);
    return 0;
}
