#pragma once

// Speaker volume (RenderingControl, on each speaker) and group volume (GroupRenderingControl,
// on the group's coordinator).

#include "OrvelDomain/DiscreteVolume.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"

namespace orvel {

struct VolumeService {
    static SOAPRequest volumeRequest();
    static SOAPRequest groupVolumeRequest();
    // Both replies carry "CurrentVolume", an integer 0...100; anything else is an error.
    static Parsed<DiscreteVolume> parseVolume(const SOAPResponse& response);

    static SOAPRequest setVolumeRequest(DiscreteVolume volume);
    // Sent before each group volume change, so the speakers keep their relative levels.
    static SOAPRequest snapshotGroupVolumeRequest();
    static SOAPRequest setGroupVolumeRequest(DiscreteVolume volume);
};

}  // namespace orvel
